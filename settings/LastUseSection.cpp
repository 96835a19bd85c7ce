#include "settings/LastUseSection.h"

#include "platform/Profile.h"
#include "settings/SettingsSections.h"

namespace vistrel {

namespace {

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

} // namespace

void readLastUseControls(std::string_view contents, PanelState& panel) {
    forEachControlEntry(
        panel, [&](const std::string& key, int& entry) { entry = readProfileInt(contents, kLastUseSection, key, 0); });
}

std::set<std::string> lastUseControlsGiven(std::string_view contents) {
    std::set<std::string> given;
    PanelState names;
    // A line break is no value a file can hold, so it marks a missing key.
    forEachControlEntry(names, [&](const std::string& key, int&) {
        if (readProfileString(contents, kLastUseSection, key, "\n", 2) != "\n") {
            given.insert(key);
        }
    });
    return given;
}

void readLastUse(std::string_view settingsContents, PanelState& panel) {
    readLastUseControls(settingsContents, panel);
    forEachWindowEntry(
        panel, [&](const char* key, int& entry) { entry = readProfileInt(settingsContents, kLastUseSection, key, 0); });
}

void LoadPanelState(const std::string& settingsPath, PanelState& panel) {
    readLastUseControls(loadProfile(settingsPath), panel);
}

std::string withLastUse(std::string_view contents, const PanelState& panel, const std::string& dateText,
                        std::string& problem, bool withWindow) {
    // The section is written anew so that nothing else survives in it.
    std::string text = withoutProfileSection(contents, kLastUseSection);
    problem.clear();
    auto put = [&](const std::string& key, const std::string& value) {
        if (problem.empty()) {
            if (std::string why = profileValueProblem(value); !why.empty()) {
                problem = key + ": " + why;
            }
        }
        text = withProfileString(text, kLastUseSection, key, value);
    };
    forEachControlEntry(panel, [&](const std::string& key, const int& entry) { put(key, std::to_string(entry)); });
    put("Date", dateText);
    if (withWindow) {
        forEachWindowEntry(panel, [&](const char* key, const int& entry) { put(key, std::to_string(entry)); });
    }
    return text;
}

} // namespace vistrel
