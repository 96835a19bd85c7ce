#pragma once

#include "link/LinkSelection.h"
#include "platform/ProgramLocations.h"
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

// Reads the settings file into the records (steps after the paths are formed).
void readStartupSettings(const std::vector<std::string>& arguments, AppState& state, Prompts& prompts,
                         const CameraLinkRelease& releaseCameraLink = {});

// After the frame is shown: any argument switches debug mode on, with its message.
void announceDebugMode(const std::vector<std::string>& arguments, AppState& state, Prompts& prompts);

} // namespace vistrel
