#pragma once

#include "link/LinkSelection.h"
#include "link/LinkState.h"
#include "platform/ProgramValues.h"
#include "platform/Prompts.h"
#include "settings/LinkSettings.h"
#include "settings/PanelState.h"

#include <string>
#include <vector>

namespace vistrel {

inline constexpr const char* kMissingSettingsText = "The initialization file doesn't exists";

// Start-up's reading of the settings file at `values.SettingsPath`. A file that cannot be read
// leaves everything as it is, sets SettingsFileFound to 0 and, when the program was given arguments,
// says so in a message captioned with the file's name. Otherwise: "Camera File", the link of "COM
// Port" (Camera Link loads its library), SettingsChanged back to 0, "BaudRate", "Serial Devices"
// and all of "Last use".
void ReadStartupSettings(const std::vector<std::string>& arguments, ProgramValues& values, LinkState& link,
                         PanelState& panel, Prompts& prompts, const CameraLinkRelease& releaseCameraLink = {});

// Camera Link chosen in the settings: the library of "CameraLink DLL" is loaded and bound (its
// messages through `prompts`), "CameraLink Port" becomes the port, and Camera Link the link, loaded
// or not.
void LoadCameraLinkFromSettings(const LinkSettings& settings, LinkState& link, Prompts& prompts);

} // namespace vistrel
