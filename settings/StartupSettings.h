#pragma once

#include "platform/RunValues.h"
#include "settings/LinkSettings.h"
#include "settings/PanelState.h"
#include "settings/TranscriptSettings.h"

#include <optional>
#include <string>

namespace vistrel {

inline constexpr const char* kMissingSettingsText = "The initialization file doesn't exists";

// What start-up takes from the settings file, as read: nothing is loaded, shown or changed.
struct StartupSettings {
    bool found = false;                     // the file could be read
    std::optional<std::string> camFileName; // "Camera File", when it names a description (no '-' in it)
    LinkSettings link;                      // section "Common" and "Serial Devices"
    PanelState lastUse;            // all of "Last use"; every entry 0, and no list value, when the file is missing
    TranscriptSettings transcript; // the transcript window and the watch over the link
};

// Reads the settings file of `values` (settingsReadPath: an installed copy's start values while the
// user has none).
StartupSettings ReadStartupSettings(const RunValues& values);

} // namespace vistrel
