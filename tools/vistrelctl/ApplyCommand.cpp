// vistrelctl apply and read-settings: the program's job from a terminal. Connection, the camera
// configuration's OK with its initialisation, and disconnection, through the program's own panel
// logic over a panel without widgets.
#include "panel/CamFileList.h"
#include "panel/ReplyInterpretation.h"
#include "platform/FileLocations.h"
#include "platform/Profile.h"
#include "settings/CameraSettingsFile.h"
#include "settings/SettingsSave.h"
#include "tools/vistrelctl/CameraSession.h"
#include "tools/vistrelctl/DisplayText.h"
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
    "                        [--settings FILE] [--transcript FILE|-] [--save] [--any-camera] [--json]\n";
constexpr const char* kReadUsage =
    "usage: vistrelctl read-settings [--link com1|com2|cameralink] [--device PATH] [--baud N] [--delay MS]\n"
    "                                [--library PATH] [--port N] --cam FILE [--settings FILE]\n"
    "                                [--transcript FILE|-] [--save] [--json]\n";

struct JobOptions {
    SendOptions link;
    InitChoice initChoice = InitChoice::SavedValues;
    bool save = false;
    bool anyCamera = false;
};

std::optional<JobOptions> parseJobOptions(Job job, const std::vector<std::string>& args, SettingsRead& settings,
                                          std::string& error) {
    CommandWords rest;
    const std::vector<std::string> valueOptions =
        job == Job::Apply ? std::vector<std::string>{"--from"} : std::vector<std::string>{};
    const std::vector<std::string> flagOptions =
        job == Job::Apply ? std::vector<std::string>{"--save", "--any-camera"} : std::vector<std::string>{"--save"};
    std::optional<SendOptions> link = parseLinkOptions(args, valueOptions, flagOptions, rest, settings, error);
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
    JobOptions options{*link, InitChoice::SavedValues, rest.flags.count("--save") > 0,
                       rest.flags.count("--any-camera") > 0};
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

// One exchange of the job: the step of the panel that made it, what the link gave, and for panel
// commands what the status line shows with the panel's result.
struct ExchangeRow {
    std::string step;
    std::string command;
    int result = 0;
    std::string status;
    std::string reply;
    std::optional<std::string> shown;
};

ExchangeRow exchangeRowOf(const LinkEvent& event, const CommPanel& panel, const CameraDescription& description) {
    const CommPanel::ExchangeStep& step = panel.stepUnderWay();
    ExchangeRow row{step.name, event.command, event.result, event.status, event.reply, std::nullopt};
    if (step.panelCommand) {
        const LinkResult exchanged{event.result, event.status, event.reply};
        const ReplyInterpretation meaning = interpretReply(description, exchanged);
        row.result = panelResult(exchanged, meaning);
        row.shown = meaning.text;
    } else {
        row.reply = row.reply.substr(0, row.reply.find('\0'));
    }
    return row;
}

void printExchange(const ExchangeRow& record, bool json) {
    const bool accepted = record.result > 0;
    if (json) {
        Json line;
        line["step"] = record.step;
        line["command"] = displayText(record.command);
        line["result"] = record.result;
        line["status"] = record.status;
        line["reply"] = displayText(record.reply);
        line["shown"] = record.shown ? Json(displayText(*record.shown)) : Json();
        line["accepted"] = accepted;
        std::printf("%s\n", line.dump().c_str());
        return;
    }
    std::printf("%-9s %-14s result %d, %s, reply \"%s\"", record.step.c_str(), escapedBytes(record.command).c_str(),
                record.result, record.status.c_str(), escapedBytes(record.reply).c_str());
    if (record.shown) {
        std::printf(": %s", displayText(*record.shown).c_str());
    }
    std::printf("\n");
}

// Prints each exchange of the job as it ends, and keeps what the exit status needs.
class JobRows : public LinkObserver {
public:
    JobRows(const CommPanel& panel, const CameraDescription& description, bool json)
        : m_panel(panel), m_description(description), m_json(json) {}
    void onLinkEvent(const LinkEvent& event) override {
        if (event.op != LinkOp::Exchange) {
            return;
        }
        const ExchangeRow row = exchangeRowOf(event, m_panel, m_description);
        printExchange(row, m_json);
        if (row.shown) {
            allAccepted = allAccepted && row.result > 0;
        } else if (row.step != "identify" && row.result < 0) {
            specialFailed = true;
        }
    }

    bool allAccepted = true;
    bool specialFailed = false;

private:
    const CommPanel& m_panel;
    const CameraDescription& m_description;
    bool m_json;
};

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
    CameraSession session(linkOptions, settings);
    CommPanel& commPanel = session.commPanel;
    // "Last use" as read at the start of the run; the window entries stay as they are.
    const StartupSettings& read = settings.read;
    commPanel.setPanelStateLoader([&](PanelState& loaded) {
        loaded.ComboBox = read.lastUse.ComboBox;
        loaded.Check = read.lastUse.Check;
        loaded.ListBox = read.lastUse.ListBox;
    });
    if (!session.loadDescription(name)) {
        return kLinkExitNoLink;
    }

    JobRows rows(commPanel, session.records.description, linkOptions.json);
    session.observed.link().addObserver(rows);

    if (const int code = session.connect(name); code != kLinkExitOk) {
        return code;
    }
    const ConnectionState connected = session.records.connection;
    // Values taken from one camera go to another only when the user says so.
    if (job == Job::Apply && options->initChoice == InitChoice::SavedValues && !options->anyCamera) {
        std::string unused;
        const std::optional<CameraSettings> file = readCameraSettings(settingsReadPath(session.values), unused);
        if (file && !settingsFitCamera(*file, connected.CameraIdentification)) {
            std::fprintf(stderr, "vistrelctl %s: %s\n", name,
                         otherCameraText(*file, connected.CameraIdentification).c_str());
            session.disconnect();
            return kLinkExitNoLink;
        }
    }
    if (job == Job::Apply) {
        commPanel.InitialiseAndApply(options->initChoice);
    } else {
        commPanel.ReadCameraSettings();
    }
    // The panel stopped at a lost line and nothing more goes to it: no close, no summary, no save.
    if (session.lost()) {
        return session.endLost();
    }
    session.disconnect();
    if (const std::optional<int> stuck = reportGrabberStuck(session.linkState)) {
        return *stuck;
    }
    const PanelState& panel = session.panel;
    printSummary(connected, panel, linkOptions.json);

    const bool accepted = rows.allAccepted && !session.view.refusedCommand;
    int exitCode = (job == Job::Apply ? accepted && !rows.specialFailed : !rows.specialFailed)
                       ? kLinkExitOk
                       : kLinkExitExchangeFailed;
    if (options->save && saveState(session.values, session.savedLink, panel, linkOptions.camFile) != kLinkExitOk) {
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
