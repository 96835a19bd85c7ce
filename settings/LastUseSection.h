#pragma once

#include "settings/PanelState.h"

#include <set>
#include <string>
#include <string_view>

namespace vistrel {

// Start-up read of section "Last use": all 21 entries, each with default 0.
void readLastUse(std::string_view settingsContents, PanelState& panel);

// Reads the 17 control entries of "Last use" again from the settings file at `settingsPath`; the
// window entries stay as they are. A missing file reads every entry as 0.
void LoadPanelState(const std::string& settingsPath, PanelState& panel);

// The 17 control entries of "Last use" in `contents`, as the start-up read takes them; the window
// entries stay.
void readLastUseControls(std::string_view contents, PanelState& panel);

// The control keys ("ComboBox1" ... "ListBox5") that section "Last use" of `contents` holds.
std::set<std::string> lastUseControlsGiven(std::string_view contents);

// `contents` with section "Last use" deleted and written anew from `panel`: the 17 control entries,
// "Date" with `dateText`, then the four window entries unless `withWindow` is false. Empty `problem`
// on success; otherwise why a value cannot be written.
std::string withLastUse(std::string_view contents, const PanelState& panel, const std::string& dateText,
                        std::string& problem, bool withWindow = true);

} // namespace vistrel
