#include "settings/SettingsSave.h"

#include "platform/AtomicReplace.h"
#include "platform/FileLocations.h"
#include "settings/LastUseSection.h"
#include "settings/SaveDate.h"
#include "settings/SettingsSections.h"

#include <filesystem>

namespace vistrel {

std::string composeSavedSettings(std::string_view before, const RunValues& values, const LinkState& link,
                                 const PanelState& panel, const std::string& dateText, std::string& problem,
                                 const TranscriptSettings* transcript) {
    std::string text(before);
    problem.clear();
    auto put = [&](std::string_view section, std::string_view key, std::string_view value) {
        if (problem.empty()) {
            if (std::string why = profileValueProblem(value); !why.empty()) {
                problem = std::string(key) + ": " + why;
            }
        }
        text = withProfileString(text, section, key, value);
    };

    put(kCommonSection, "Version", "6.5.0");
    put(kCommonSection, "Camera File", values.CamFileName);
    put(kCommonSection, "COM Port", std::to_string(link.LinkKind));
    if (link.LinkKind == kLinkCameraLink) {
        put(kCommonSection, "CameraLink DLL", link.CameraLinkLibraryPath);
        put(kCommonSection, "CameraLink Port", std::to_string(link.CameraLinkPort));
    }
    put(kCommonSection, "BaudRate", std::to_string(link.LinkBaudRate));
    if (transcript != nullptr) {
        text = withTranscriptSettings(text, *transcript);
    }

    std::string lastUseProblem;
    text = withLastUse(text, panel, dateText, lastUseProblem);
    if (problem.empty()) {
        problem = lastUseProblem;
    }

    put(kSerialDevicesSection, "COM1", link.ComDevice[0]);
    put(kSerialDevicesSection, "COM2", link.ComDevice[1]);
    return text;
}

ProfileResult SavePanelState(const RunValues& values, const LinkState& link, const PanelState& panel, std::time_t when,
                             const TranscriptSettings* transcript) {
    std::string before;
    // Before an installed copy's first save this takes up the defaults beside the program.
    if (ProfileResult read = readProfileForEdit(settingsReadPath(values), before); !read.ok) {
        return read;
    }
    std::string problem;
    const std::string after =
        composeSavedSettings(before, values, link, panel, saveDateText(when), problem, transcript);
    if (!problem.empty()) {
        return ProfileResult::failure(problem);
    }
    if (!values.SettingsDefaultsPath.empty()) {
        // An installed copy's first save also makes the user's settings folder; a folder that
        // cannot be made shows in the failure of the replace.
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(values.SettingsPath).parent_path(), ignored);
    }
    return replaceFileAtomically(values.SettingsPath, after);
}

} // namespace vistrel
