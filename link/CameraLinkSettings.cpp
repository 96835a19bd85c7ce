#include "link/CameraLinkSettings.h"

#include "link/CameraLinkLibrary.h"
#include "platform/Profile.h"

namespace vistrel {

void LoadCameraLinkFromSettings(const std::string& settingsPath, LinkState& link, Prompts& prompts) {
    const std::string contents = loadProfile(settingsPath);
    ReleaseCameraLinkLibrary(link, prompts);
    // A library that does not load or bind has shown its message; Camera Link stays the link all the
    // same, and nothing of it is called until another library is chosen.
    LoadCameraLinkLibrary(link, prompts,
                          readProfileString(contents, "Common", "CameraLink DLL", "", kSettingsValueCapacity));
    // The port is read as text and converted, so a value of letters gives port 0.
    link.CameraLinkPort =
        profileTextToInt(readProfileString(contents, "Common", "CameraLink Port", "", kSettingsValueCapacity));
    link.LinkKind = kLinkCameraLink;
}

} // namespace vistrel
