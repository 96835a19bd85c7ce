// vistrelctl save-settings and verify: a camera's settings kept in a camera settings file, and a
// camera checked against one.
#include "panel/CamFileList.h"
#include "settings/CameraSettingsFile.h"
#include "tools/vistrelctl/CameraSession.h"
#include "tools/vistrelctl/DisplayText.h"
#include "tools/vistrelctl/Subcommand.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <nlohmann/json.hpp>

namespace vistrel::ctl {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kSaveUsage =
    "usage: vistrelctl save-settings [--link com1|com2|cameralink] [--device PATH] [--baud N] [--delay MS]\n"
    "                                [--library PATH] [--port N] --cam FILE --out FILE.vcs\n"
    "                                [--from camera|ini] [--settings FILE] [--transcript FILE|-] [--json]\n";
constexpr const char* kVerifyUsage =
    "usage: vistrelctl verify [--link com1|com2|cameralink] [--device PATH] [--baud N] [--delay MS]\n"
    "                         [--library PATH] [--port N] [--cam FILE] --settings FILE.vcs [--transcript FILE|-]\n"
    "                         [--json] [--any-camera]\n";

int usageError(const char* command, const std::string& error, const char* usage) {
    std::fprintf(stderr, "vistrelctl %s: %s\n", command, error.c_str());
    std::fputs(usage, stderr);
    return kLinkExitNoLink;
}

bool given(const std::vector<std::string>& args, const char* option) {
    return std::find(args.begin(), args.end(), option) != args.end();
}

Json optionalText(const std::optional<std::string>& text) {
    return text ? Json(displayText(*text)) : Json();
}

void printComparison(const ControlComparison& row, bool json) {
    if (json) {
        Json line;
        line["control"] = row.control;
        line["caption"] = displayText(row.caption);
        line["key"] = displayText(row.key);
        line["expected"] = optionalText(row.expected);
        line["camera"] = optionalText(row.camera);
        line["same"] = row.same;
        std::printf("%s\n", line.dump().c_str());
        return;
    }
    const std::string key = displayText(row.key);
    std::printf("%-9s %-24s %s=%s, camera %s%s\n", row.control.c_str(), displayText(row.caption).c_str(), key.c_str(),
                row.expected ? displayText(*row.expected).c_str() : "(nothing sent)",
                row.camera ? (key + "=" + displayText(*row.camera)).c_str() : "(missing)", row.same ? "" : "  DIFFERS");
}

} // namespace

int runSaveSettings(const std::vector<std::string>& args) {
    const char* name = "save-settings";
    std::string error;
    CommandWords rest;
    SettingsRead settings;
    const std::optional<SendOptions> options = parseLinkOptions(args, {"--out", "--from"}, {}, rest, settings, error);
    if (!options) {
        return usageError(name, error, kSaveUsage);
    }
    const std::string out = rest.values.count("--out") > 0 ? rest.values["--out"] : std::string();
    const std::string from = rest.values.count("--from") > 0 ? rest.values["--from"] : std::string("camera");
    if (!rest.words.empty()) {
        return usageError(name, "unexpected argument " + rest.words[0], kSaveUsage);
    }
    if (options->camFile.empty() || out.empty()) {
        return usageError(name, "--cam FILE and --out FILE.vcs are needed", kSaveUsage);
    }
    if (from != "camera" && from != "ini") {
        return usageError(name, "--from takes camera or ini, not " + from, kSaveUsage);
    }

    CameraSession session(*options, settings);
    if (!session.loadDescription(name)) {
        return kLinkExitNoLink;
    }
    // "Description" names the description as the program lists it, else by its file name.
    session.values.CamFileName = listedNameOf(session.values, options->camFile)
                                     .value_or(std::filesystem::path(options->camFile).filename().string());
    if (from == "ini" && session.values.SettingsFileFound == 0) {
        std::fprintf(stderr, "vistrelctl %s: no saved values: cannot read %s\n", name,
                     session.values.SettingsPath.c_str());
        return kLinkExitNoLink;
    }
    if (from == "camera") {
        if (const int code = session.connect(name); code != kLinkExitOk) {
            return code;
        }
        const int result = session.commPanel.ReadCameraSettings();
        if (session.lost()) {
            return session.endLost();
        }
        if (result < 0) {
            session.disconnect();
            std::fprintf(stderr, "vistrelctl %s: the camera did not report its settings; %s not written\n", name,
                         out.c_str());
            return kLinkExitNoLink;
        }
    }
    // Written while connected, so that the file names the camera and the link.
    const ProfileResult saved = session.commPanel.SaveCameraSettingsFile(out, session.panel, std::time(nullptr));
    if (from == "camera") {
        session.disconnect();
    }
    if (!saved.ok) {
        std::fprintf(stderr, "vistrelctl %s: %s not written: %s\n", name, out.c_str(), saved.reason.c_str());
        return kLinkExitNoLink;
    }
    if (options->json) {
        std::printf("%s\n", Json{{"written", out}, {"from", from}}.dump().c_str());
    } else {
        std::printf("%s written from the %s\n", out.c_str(), from == "camera" ? "camera" : "saved values");
    }
    return kLinkExitOk;
}

int runVerify(const std::vector<std::string>& args) {
    const char* name = "verify";
    std::string error;
    CommandWords rest;
    SettingsRead settings;
    std::optional<SendOptions> options = parseLinkOptions(args, {}, {"--any-camera"}, rest, settings, error);
    if (!options) {
        return usageError(name, error, kVerifyUsage);
    }
    if (!rest.words.empty()) {
        return usageError(name, "unexpected argument " + rest.words[0], kVerifyUsage);
    }
    if (!given(args, "--settings")) {
        return usageError(name, "--settings FILE.vcs is needed", kVerifyUsage);
    }
    const std::optional<CameraSettings> file = readCameraSettings(settings.values.SettingsPath, error);
    if (!file) {
        std::fprintf(stderr, "vistrelctl %s: %s\n", name, error.c_str());
        return kLinkExitNoLink;
    }
    // Without --cam, the description the file was taken with.
    if (options->camFile.empty() && !file->Description.empty()) {
        options->camFile = resolveCamFile(file->Description);
    }
    if (options->camFile.empty()) {
        return usageError(name, "--cam FILE is needed: " + settings.values.SettingsPath + " names no description",
                          kVerifyUsage);
    }

    CameraSession session(*options, settings);
    session.panel.ComboBox = file->panel.ComboBox;
    session.panel.Check = file->panel.Check;
    session.panel.ListBox = file->panel.ListBox;
    if (!session.loadDescription(name)) {
        return kLinkExitNoLink;
    }
    if (const int code = session.connect(name); code != kLinkExitOk) {
        return code;
    }
    const std::string& identification = session.records.connection.CameraIdentification;
    if (!rest.flags.count("--any-camera") && !settingsFitCamera(*file, identification)) {
        std::fprintf(stderr, "vistrelctl %s: %s\n", name, otherCameraText(*file, identification).c_str());
        session.disconnect();
        return kLinkExitNoLink;
    }
    std::optional<SettingsComparison> comparison = session.commPanel.CompareWithCamera();
    if (session.lost()) {
        return session.endLost();
    }
    session.disconnect();
    if (!comparison) {
        return kLinkExitNoLink;
    }
    // Only what the file gives is checked.
    std::erase_if(comparison->rows, [&](const ControlComparison& row) { return file->given.count(row.control) == 0; });
    for (const ControlComparison& row : comparison->rows) {
        printComparison(row, options->json);
    }
    const int differ = comparison->differ();
    const int controls = static_cast<int>(comparison->rows.size());
    if (options->json) {
        Json last;
        last["verified"] = differ == 0;
        last["controls"] = controls;
        last["differ"] = differ;
        std::printf("%s\n", last.dump().c_str());
    } else {
        std::printf("%s: %d controls, %d differ\n", differ == 0 ? "verified" : "NOT verified", controls, differ);
    }
    return differ == 0 ? kLinkExitOk : kLinkExitExchangeFailed;
}

} // namespace vistrel::ctl
