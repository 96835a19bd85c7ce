#pragma once

#include "camera/CameraDescription.h"
#include "settings/PanelState.h"

#include <optional>
#include <string>
#include <vector>

namespace vistrel {

// One defined control: what the panel sends for it and what the camera reports.
struct ControlComparison {
    std::string control;                 // "ComboBox1" ... "ListBox5"
    std::string caption;                 // its caption on the panel
    std::string key;                     // its command character text, the key of the settings report
    std::optional<std::string> expected; // the value the panel sends; nothing when it sends none
    std::optional<std::string> camera;   // the reported value; nothing when the report lacks the key
    bool same = false;
};

struct SettingsComparison {
    CameraDescription description;
    std::vector<ControlComparison> rows; // in table order
    int differ() const;
};

// What the panel sends for `panel` when the description at `camFilePath` is loaded and the panel
// applied, found by running the panel's own apply against a link that only listens: one row per
// defined control, the camera's side not yet filled. Nothing when the description cannot be read.
std::optional<SettingsComparison> previewPanelApply(const std::string& camFilePath, const PanelState& panel);

// Fills the camera's side from its settings report (read as the panel reads it) and marks the
// rows that agree: a list's values as the list matches them (numbers by value: "1.00" equals
// "1"), others as exact texts.
void compareWithReport(SettingsComparison& comparison, const std::string& report);

} // namespace vistrel
