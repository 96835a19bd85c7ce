#include "link/CameraLinkSettings.h"

#include "platform/Profile.h"

namespace vistrel {

void LoadCameraLinkFromSettings(const std::string& settingsPath, LinkState& link, Prompts& /*prompts*/) {
    const std::string contents = loadProfile(settingsPath);
    link.CameraLinkLibraryPath = readProfileString(contents, "Common", "CameraLink DLL", "", kSettingsValueCapacity);
    // The port is read as text and converted, so a value of letters gives port 0.
    link.CameraLinkPort =
        profileTextToInt(readProfileString(contents, "Common", "CameraLink Port", "", kSettingsValueCapacity));
    link.LinkKind = kLinkCameraLink;
}

} // namespace vistrel
