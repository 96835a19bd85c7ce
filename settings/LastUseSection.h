#pragma once

#include "settings/PanelState.h"

#include <string>
#include <string_view>

namespace vistrel {

// Start-up read of section "Last use": all 21 entries, each with default 0.
void readLastUse(std::string_view settingsContents, PanelState& panel);

// Reads the 17 control entries of "Last use" again from the settings file at `settingsPath`; the
// window entries stay as they are. A missing file reads every entry as 0.
void LoadPanelState(const std::string& settingsPath, PanelState& panel);

// `contents` with section "Last use" deleted and written anew from `panel`: the 17 control entries,
// "Date" with `dateText`, then the four window entries. Empty `problem` on success; otherwise why a
// value cannot be written.
std::string withLastUse(std::string_view contents, const PanelState& panel, const std::string& dateText,
                        std::string& problem);

} // namespace vistrel
