#include "settings/SettingsSave.h"

#include "settings/LastUseSection.h"
#include "settings/SaveDate.h"
#include "settings/SettingsSections.h"

namespace vistrel {

std::string composeSavedSettings(std::string_view before, const ProgramValues& values, const LinkState& link,
                                 const PanelState& panel, const std::string& dateText, std::string& problem) {
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

    std::string lastUseProblem;
    text = withLastUse(text, panel, dateText, lastUseProblem);
    if (problem.empty()) {
        problem = lastUseProblem;
    }

    put(kSerialDevicesSection, "COM1", link.ComDevice[0]);
    put(kSerialDevicesSection, "COM2", link.ComDevice[1]);
    return text;
}

ProfileResult SavePanelState(const ProgramValues& values, const LinkState& link, const PanelState& panel,
                             std::time_t when) {
    std::string before;
    if (ProfileResult read = readProfileForEdit(values.SettingsPath, before); !read.ok) {
        return read;
    }
    std::string problem;
    const std::string after = composeSavedSettings(before, values, link, panel, saveDateText(when), problem);
    if (!problem.empty()) {
        return ProfileResult::failure(problem);
    }
    return replaceProfileFile(values.SettingsPath, after);
}

} // namespace vistrel
