#pragma once

#include "link/Link.h"
#include "link/LinkSelection.h"
#include "platform/Profile.h"
#include "platform/Prompts.h"
#include "shell/AppState.h"

#include <functional>
#include <string>

namespace vistrel {

enum class ExitOutcome {
    GoOn,           // No to the quit question, or Cancel to the save question
    EndAfterSave,   // Yes, Yes (the save may have failed: it was reported)
    EndWithoutSave, // Yes then No, or Yes with nothing changed
};

// The frame's outer rectangle in screen coordinates.
struct WindowRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

inline constexpr const char* kQuitQuestion = "Do you want to quit Vistrel ?";
inline constexpr const char* kSaveQuestion = "Do you want to save the current states of the camera ?";

// The save at exit; returns what the write came to.
using SettingsSave = std::function<ProfileResult(const AppState&)>;

// The message that reports a save the system refused.
std::string saveFailureText(const std::string& settingsPath, const std::string& reason);

// The exit sequence: window rectangle into the panel state, the quit question, the save question
// when the settings changed, the save (a failure is reported, the program ends all the same), and
// the release of the Camera Link library when it is the link.
ExitOutcome OnClose(const WindowRect& frame, AppState& state, Prompts& prompts, const SettingsSave& save,
                    const CameraLinkRelease& releaseCameraLink = {});

// The end of the run, once no link operation runs any more: the link is closed (a port left open
// would keep everyone else out), then the Camera Link library is released when `releaseCameraLink`
// is set (the exit sequence asked for it while an operation may still have been running).
void EndRun(Link& link, LinkState& linkState, const CameraLinkRelease& releaseCameraLink);

} // namespace vistrel
