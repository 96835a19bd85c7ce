#include "settings/LastUseSection.h"

#include "platform/Profile.h"
#include "settings/ListValue.h"
#include "settings/SettingsSections.h"

namespace vistrel {

namespace {

// The 12 integer control keys in the order of the file, paired with their entries; the five list
// keys follow them.
template <typename Panel, typename Fn> void forEachIntControlEntry(Panel& panel, Fn&& fn) {
    for (int i = 0; i < kComboCount; ++i) {
        fn("ComboBox" + std::to_string(i + 1), panel.ComboBox[i]);
    }
    for (int i = 0; i < kCheckCount; ++i) {
        fn("Check" + std::to_string(i + 1), panel.Check[i]);
    }
}

std::string listKey(int index) {
    return "ListBox" + std::to_string(index + 1);
}

template <typename Panel, typename Fn> void forEachWindowEntry(Panel& panel, Fn&& fn) {
    fn("Xpos", panel.Xpos);
    fn("Ypos", panel.Ypos);
    fn("Xdim", panel.Xdim);
    fn("Ydim", panel.Ydim);
}

// A list entry reads as the integer it always was, unless it holds a decimal, which is kept as
// written; 0 and a text without digits are no value, and a number out of the int range is none.
std::string readListEntry(std::string_view contents, const std::string& key) {
    const std::optional<std::string> kept =
        listStateText(readProfileString(contents, kLastUseSection, key, "", kProfileMaxBytes));
    return kept && *kept != "0" ? *kept : std::string();
}

} // namespace

void readLastUseControls(std::string_view contents, PanelState& panel) {
    forEachIntControlEntry(
        panel, [&](const std::string& key, int& entry) { entry = readProfileInt(contents, kLastUseSection, key, 0); });
    for (int i = 0; i < kListCount; ++i) {
        panel.ListBox[static_cast<std::size_t>(i)] = readListEntry(contents, listKey(i));
    }
}

std::set<std::string> lastUseControlsGiven(std::string_view contents) {
    std::set<std::string> keys;
    PanelState names;
    forEachIntControlEntry(names, [&](const std::string& key, int&) { keys.insert(key); });
    for (int i = 0; i < kListCount; ++i) {
        keys.insert(listKey(i));
    }
    std::set<std::string> given;
    // A line break is no value a file can hold, so it marks a missing key.
    for (const std::string& key : keys) {
        if (readProfileString(contents, kLastUseSection, key, "\n", 2) != "\n") {
            given.insert(key);
        }
    }
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
    forEachIntControlEntry(panel, [&](const std::string& key, const int& entry) { put(key, std::to_string(entry)); });
    for (int i = 0; i < kListCount; ++i) {
        const std::string& entry = panel.ListBox[static_cast<std::size_t>(i)];
        put(listKey(i), entry.empty() ? "0" : entry);
    }
    put("Date", dateText);
    if (withWindow) {
        forEachWindowEntry(panel, [&](const char* key, const int& entry) { put(key, std::to_string(entry)); });
    }
    return text;
}

} // namespace vistrel
