#pragma once

#include "camera/PanelState.h"
#include "link/LinkState.h"
#include "platform/Profile.h"
#include "platform/ProgramValues.h"

#include <ctime>
#include <string>
#include <string_view>

namespace vistrel {

// The save's "Date" text: local time as "%d/%m/%Y at %X".
std::string saveDateText(std::time_t when);

// Start-up read of section "Last use": all 21 entries, each with default 0.
void readLastUse(std::string_view settingsContents, PanelState& panel);

// Reads the 17 control entries of "Last use" again; the window entries stay as they are.
void LoadPanelState(const std::string& settingsPath, PanelState& panel);

// What the settings file holds after a save, given what it held before: "Common" updated key by
// key, "Last use" deleted and written anew with its 22 keys, then "Serial Devices".
// Empty `problem` on success; otherwise why a value cannot be written (the result is then unused).
std::string composeSavedSettings(std::string_view before, const ProgramValues& values, const LinkState& link,
                                 const PanelState& panel, const std::string& dateText, std::string& problem);

// Writes "Common", "Last use" and "Serial Devices" to the settings file in one atomic replace: on
// failure the old file is left whole and the result carries the reason.
ProfileResult SavePanelState(const ProgramValues& values, const LinkState& link, const PanelState& panel,
                             std::time_t when);

} // namespace vistrel
