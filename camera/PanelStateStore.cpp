#include "camera/PanelStateStore.h"

#include "link/SerialDeviceSettings.h"

#include <array>

namespace vistrel {

namespace {

const char* const kLastUse = "Last use";
const char* const kCommon = "Common";

// The 17 control keys in the order of the file, paired with their entries.
template <typename Panel, typename Fn> void forEachControlEntry(Panel& panel, Fn&& fn) {
    for (int i = 0; i < kComboCount; ++i) {
        fn("ComboBox" + std::to_string(i + 1), panel.ComboBox[i]);
    }
    for (int i = 0; i < kCheckCount; ++i) {
        fn("Check" + std::to_string(i + 1), panel.Check[i]);
    }
    for (int i = 0; i < kListCount; ++i) {
        fn("ListBox" + std::to_string(i + 1), panel.ListBox[i]);
    }
}

template <typename Panel, typename Fn> void forEachWindowEntry(Panel& panel, Fn&& fn) {
    fn("Xpos", panel.Xpos);
    fn("Ypos", panel.Ypos);
    fn("Xdim", panel.Xdim);
    fn("Ydim", panel.Ydim);
}

void readControlEntries(std::string_view contents, PanelState& panel) {
    forEachControlEntry(
        panel, [&](const std::string& key, int& entry) { entry = readProfileInt(contents, kLastUse, key, 0); });
}

} // namespace

std::string saveDateText(std::time_t when) {
    std::tm local{};
    if (::localtime_r(&when, &local) == nullptr) {
        return {};
    }
    std::array<char, 64> text{};
    const std::size_t n = std::strftime(text.data(), text.size(), "%d/%m/%Y at %X", &local);
    return {text.data(), n};
}

void readLastUse(std::string_view settingsContents, PanelState& panel) {
    readControlEntries(settingsContents, panel);
    forEachWindowEntry(
        panel, [&](const char* key, int& entry) { entry = readProfileInt(settingsContents, kLastUse, key, 0); });
}

void LoadPanelState(const std::string& settingsPath, PanelState& panel) {
    readControlEntries(loadProfile(settingsPath), panel);
}

std::string composeSavedSettings(std::string_view before, const ProgramValues& values, const LinkState& link,
                                 const PanelState& panel, const std::string& dateText, std::string& problem) {
    std::string text(before);
    problem.clear();
    auto put = [&](std::string_view section, std::string_view key, std::string_view value) {
        if (problem.empty()) {
            problem = profileValueProblem(value);
            if (!problem.empty()) {
                problem = std::string(key) + ": " + problem;
            }
        }
        text = withProfileString(text, section, key, value);
    };

    put(kCommon, "Version", "6.5.0");
    put(kCommon, "Camera File", values.CamFileName);
    put(kCommon, "COM Port", std::to_string(link.LinkKind));
    if (link.LinkKind == kLinkCameraLink) {
        put(kCommon, "CameraLink DLL", link.CameraLinkLibraryPath);
        put(kCommon, "CameraLink Port", std::to_string(link.CameraLinkPort));
    }
    put(kCommon, "BaudRate", std::to_string(link.LinkBaudRate));

    // The section is written anew so that nothing else survives in it.
    text = withoutProfileSection(text, kLastUse);
    forEachControlEntry(panel,
                        [&](const std::string& key, const int& entry) { put(kLastUse, key, std::to_string(entry)); });
    put(kLastUse, "Date", dateText);
    forEachWindowEntry(panel, [&](const char* key, const int& entry) { put(kLastUse, key, std::to_string(entry)); });

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
