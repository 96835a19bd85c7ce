#pragma once

#include "link/LinkSelection.h"
#include "platform/FileLocations.h"
#include "platform/Prompts.h"
#include "settings/StartupSettings.h"
#include "shell/AppState.h"

#include <string>
#include <vector>

namespace vistrel {

enum class StartupAction {
    OpenFrame,  // go on: create the document, the frame and the panel
    EndProcess, // end at once without a window (registration switches, automation start)
};

struct StartupResult {
    StartupAction action = StartupAction::OpenFrame;
    int exitCode = 0;
    std::string problem; // why a registration failed, for the terminal
};

struct StartupInput {
    std::string executablePath;
    std::vector<std::string> arguments; // the command line after the program name
    std::string applicationsFolder;     // where the desktop entry is written or removed
    UserFolders userFolders;            // where an installed copy keeps the user's files
    CameraLinkRelease releaseCameraLink;
};

// Text of the debug-mode announcement, shown once the frame is up.
inline constexpr const char* kDebugModeText = "Mode 'debug' activ\xc3\xa9.";

// Everything start-up decides before the frame exists: registration switches, automation start,
// the program paths, section "Common", "Serial Devices" and "Last use".
StartupResult runStartup(const StartupInput& input, AppState& state, Prompts& prompts);

// What start-up does with the settings file as read. A file that was not found leaves everything as
// it is, sets SettingsFileFound to 0 and, when the program was given arguments, says so in a message
// captioned with the file's name. Otherwise: "Camera File", the link of "COM Port" (Camera Link loads
// its library), SettingsChanged back to 0, "BaudRate", "Serial Devices" and all of "Last use".
void takeUpStartupSettings(const StartupSettings& read, const std::vector<std::string>& arguments, RunValues& values,
                           LinkState& link, PanelState& panel, Prompts& prompts,
                           const CameraLinkRelease& releaseCameraLink = {});

// Camera Link chosen in the settings: the library of "CameraLink DLL" is loaded and bound (its
// messages through `prompts`), "CameraLink Port" becomes the port, and Camera Link the link, loaded
// or not.
void LoadCameraLinkFromSettings(const LinkSettings& settings, LinkState& link, Prompts& prompts);

// After the frame is shown: any argument switches debug mode on, with its message.
void announceDebugMode(const std::vector<std::string>& arguments, AppState& state, Prompts& prompts);

} // namespace vistrel
