// vistrelctl apply and read-settings: the program's job from a terminal. Connection, the camera
// configuration's OK with its initialisation, and disconnection, through the program's own panel
// logic over a panel without widgets.
#include "link/CameraLinkLibrary.h"
#include "link/SystemLink.h"
#include "panel/CamFileList.h"
#include "panel/CommPanel.h"
#include "panel/DataPanelView.h"
#include "platform/FileLocations.h"
#include "platform/Profile.h"
#include "settings/SettingsSave.h"
#include "settings/StartupSettings.h"
#include "tools/vistrelctl/CliPrompts.h"
#include "tools/vistrelctl/DisplayText.h"
#include "tools/vistrelctl/LinkOptions.h"
#include "tools/vistrelctl/LinkSetup.h"
#include "tools/vistrelctl/ReplyText.h"
#include "tools/vistrelctl/Subcommand.h"

#include <cstdio>
#include <ctime>
#include <nlohmann/json.hpp>

namespace vistrel::ctl {

namespace {

using Json = nlohmann::ordered_json;

enum class Job { Apply, ReadSettings };

constexpr const char* kApplyUsage =
    "usage: vistrelctl apply [--link com1|com2|cameralink] [--device PATH] [--baud N] [--delay MS]\n"
    "                        [--library PATH] [--port N] --cam FILE [--from ini|camera|factory]\n"
    "                        [--settings FILE] [--save] [--json]\n";
constexpr const char* kReadUsage =
    "usage: vistrelctl read-settings [--link com1|com2|cameralink] [--device PATH] [--baud N] [--delay MS]\n"
    "                                [--library PATH] [--port N] --cam FILE [--settings FILE] [--save] [--json]\n";

struct JobOptions {
    SendOptions link;
    InitChoice initChoice = InitChoice::SavedValues;
    bool save = false;
};

std::optional<JobOptions> parseJobOptions(Job job, const std::vector<std::string>& args, SettingsRead& settings,
                                          std::string& error) {
    CommandWords rest;
    const std::vector<std::string> valueOptions =
        job == Job::Apply ? std::vector<std::string>{"--from"} : std::vector<std::string>{};
    std::optional<SendOptions> link = parseLinkOptions(args, valueOptions, {"--save"}, rest, settings, error);
    if (!link) {
        return std::nullopt;
    }
    if (!rest.words.empty()) {
        error = "unexpected argument " + rest.words[0];
        return std::nullopt;
    }
    if (link->camFile.empty()) {
        error = "--cam FILE is needed";
        return std::nullopt;
    }
    JobOptions options{*link, InitChoice::SavedValues, rest.flags.count("--save") > 0};
    if (const auto from = rest.values.find("--from"); from != rest.values.end()) {
        const std::string& source = from->second;
        options.initChoice = source == "ini"       ? InitChoice::SavedValues
                             : source == "camera"  ? InitChoice::CameraSettings
                             : source == "factory" ? InitChoice::FactorySettings
                                                   : InitChoice::None;
        if (options.initChoice == InitChoice::None) {
            error = "--from takes ini, camera or factory, not " + source;
            return std::nullopt;
        }
    }
    return options;
}

void printExchange(const CommPanel::ExchangeRecord& record, bool json) {
    const bool accepted = record.result > 0;
    if (json) {
        Json line;
        line["step"] = record.step;
        line["command"] = displayText(record.command);
        line["result"] = record.result;
        line["status"] = record.link.status;
        line["reply"] = displayText(record.link.reply);
        line["shown"] = record.shown ? Json(displayText(*record.shown)) : Json();
        line["accepted"] = accepted;
        std::printf("%s\n", line.dump().c_str());
        return;
    }
    std::printf("%-9s %-14s result %d, %s, reply \"%s\"", record.step.c_str(), escapedBytes(record.command).c_str(),
                record.result, record.link.status.c_str(), escapedBytes(record.link.reply).c_str());
    if (record.shown) {
        std::printf(": %s", displayText(*record.shown).c_str());
    }
    std::printf("\n");
}

Json panelStateJson(const PanelState& panel) {
    Json state = Json::object();
    for (int i = 0; i < kComboCount; ++i) {
        state["ComboBox" + std::to_string(i + 1)] = panel.ComboBox[static_cast<std::size_t>(i)];
    }
    for (int i = 0; i < kCheckCount; ++i) {
        state["Check" + std::to_string(i + 1)] = panel.Check[static_cast<std::size_t>(i)];
    }
    // Lists as "Last use" holds them: a whole number (0 for none) as a number, a decimal as its text.
    for (int i = 0; i < kListCount; ++i) {
        const std::string& value = panel.ListBox[static_cast<std::size_t>(i)];
        const std::string key = "ListBox" + std::to_string(i + 1);
        if (value.find('.') != std::string::npos) {
            state[key] = value;
        } else {
            state[key] = profileTextToInt(value);
        }
    }
    return state;
}

void printSummary(const ConnectionState& connected, const PanelState& panel, bool json) {
    const Json state = panelStateJson(panel);
    if (json) {
        Json last;
        last["connected"] = displayText(connected.StatusPaneText);
        last["identified"] = connected.CameraIdentified == 1;
        last["panelState"] = state;
        std::printf("%s\n", last.dump().c_str());
        return;
    }
    std::printf("connected: %s (%s)\n", displayText(connected.StatusPaneText).c_str(),
                connected.CameraIdentified == 1 ? "identified" : "not identified");
    for (const auto& [key, value] : state.items()) {
        const std::string text = value.is_string() ? value.get<std::string>() : value.dump();
        std::printf("%s=%s\n", key.c_str(), text.c_str());
    }
}

// The save the program makes at exit, with the job's panel state; "Camera File" names the
// description only when the program lists it under that name.
int saveState(RunValues values, const LinkState& savedLink, const PanelState& panel, const std::string& path) {
    if (const std::optional<std::string> name = listedNameOf(values, path)) {
        values.CamFileName = *name;
    }
    const ProfileResult saved = SavePanelState(values, savedLink, panel, std::time(nullptr));
    if (!saved.ok) {
        std::fprintf(stderr, "vistrelctl: the settings could not be saved to %s: %s\n", values.SettingsPath.c_str(),
                     saved.reason.c_str());
        return kLinkExitExchangeFailed;
    }
    return kLinkExitOk;
}

// The link the save writes back, as the settings file names it: no library is loaded for it.
LinkState linkOfSettings(const StartupSettings& read) {
    LinkState link;
    if (!read.found) {
        return link;
    }
    link.LinkKind = read.link.linkKind.value_or(link.LinkKind);
    if (link.LinkKind == kLinkCameraLink) {
        link.CameraLinkLibraryPath = read.link.cameraLinkLibrary;
        link.CameraLinkPort = read.link.cameraLinkPort;
    }
    link.LinkBaudRate = read.link.baudRate;
    link.ComDevice[0] = read.link.comDevice[0];
    link.ComDevice[1] = read.link.comDevice[1];
    return link;
}

int runJob(Job job, const std::vector<std::string>& args) {
    const char* name = job == Job::Apply ? "apply" : "read-settings";
    std::string error;
    SettingsRead settings;
    const std::optional<JobOptions> options = parseJobOptions(job, args, settings, error);
    if (!options) {
        std::fprintf(stderr, "vistrelctl %s: %s\n", name, error.c_str());
        std::fputs(job == Job::Apply ? kApplyUsage : kReadUsage, stderr);
        return kLinkExitNoLink;
    }
    const SendOptions& linkOptions = options->link;
    CliPrompts prompts;

    // What the program holds after its start-up: the settings file's values and panel state, from the
    // one reading of the run.
    const StartupSettings& read = settings.read;
    RunValues values = settings.values;
    if (read.found) {
        if (read.camFileName) {
            values.CamFileName = *read.camFileName;
            values.CamFilePath = resolveCamFilePath(values, *read.camFileName);
        }
    } else {
        values.SettingsFileFound = 0;
    }
    const LinkState savedLink = linkOfSettings(read);
    PanelState panel = read.lastUse;

    LinkState linkState;
    SystemLink link(linkState);
    DataPanelView view;
    PanelRecords records;
    CommPanel commPanel(values, panel, linkState, records, link, view, prompts);
    // "Last use" as read at the start of the run; the window entries stay as they are.
    commPanel.setPanelStateLoader([&](PanelState& loaded) {
        loaded.ComboBox = read.lastUse.ComboBox;
        loaded.Check = read.lastUse.Check;
        loaded.ListBox = read.lastUse.ListBox;
    });

    commPanel.LoadCamFileAt(linkOptions.camFile);
    if (records.LoadedTitle == " ") {
        std::fprintf(stderr, "vistrelctl %s: cannot read the camera description %s\n", name,
                     linkOptions.camFile.c_str());
        return kLinkExitNoLink;
    }
    if (linkOptions.delayMs) {
        records.description.CharDelayMs = *linkOptions.delayMs;
    }
    if (!setUpLink(linkOptions, linkState, prompts)) {
        return kLinkExitNoLink;
    }

    bool allAccepted = true;
    bool specialFailed = false;
    commPanel.setExchangeListener([&](const CommPanel::ExchangeRecord& record) {
        printExchange(record, linkOptions.json);
        if (record.shown) {
            allAccepted = allAccepted && record.result > 0;
        } else if (record.step != "identify" && record.result < 0) {
            specialFailed = true;
        }
    });

    commPanel.OnConnection();
    if (records.connection.CameraConnected == 0) {
        const int code = reportLinkNotOpened(linkState, records.connection.StatusPaneText);
        ReleaseCameraLinkLibrary(linkState, prompts);
        return code;
    }
    const ConnectionState connected = records.connection;
    if (job == Job::Apply) {
        commPanel.InitialiseAndApply(options->initChoice);
    } else {
        commPanel.ReadCameraSettings();
    }
    commPanel.OnDisconnection();
    ReleaseCameraLinkLibrary(linkState, prompts);
    printSummary(connected, panel, linkOptions.json);

    int exitCode =
        (job == Job::Apply ? allAccepted && !specialFailed : !specialFailed) ? kLinkExitOk : kLinkExitExchangeFailed;
    if (options->save && saveState(values, savedLink, panel, linkOptions.camFile) != kLinkExitOk) {
        exitCode = kLinkExitExchangeFailed;
    }
    return exitCode;
}

} // namespace

int runApply(const std::vector<std::string>& args) {
    return runJob(Job::Apply, args);
}

int runReadSettings(const std::vector<std::string>& args) {
    return runJob(Job::ReadSettings, args);
}

} // namespace vistrel::ctl
