#pragma once

#include "link/LinkState.h"
#include "platform/Profile.h"
#include "platform/RunValues.h"
#include "settings/PanelState.h"
#include "settings/TranscriptSettings.h"

#include <ctime>
#include <string>
#include <string_view>

namespace vistrel {

// What the settings file holds after a save, given what it held before: "Common" updated key by
// key ("CameraLink DLL" and "CameraLink Port" only with Camera Link), "Last use" deleted and written
// anew with its 22 keys, then "Serial Devices". Empty `problem` on success; otherwise why a value
// cannot be written (the result is then unused). With `transcript`, its keys of "Common" too.
std::string composeSavedSettings(std::string_view before, const RunValues& values, const LinkState& link,
                                 const PanelState& panel, const std::string& dateText, std::string& problem,
                                 const TranscriptSettings* transcript = nullptr);

// Writes "Common", "Last use" and "Serial Devices" to the settings file in one atomic replace, with
// the date of `when`: on failure the old file is left whole and the result carries the reason.
ProfileResult SavePanelState(const RunValues& values, const LinkState& link, const PanelState& panel, std::time_t when,
                             const TranscriptSettings* transcript = nullptr);

} // namespace vistrel
