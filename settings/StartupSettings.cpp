#include "settings/StartupSettings.h"

#include "link/CameraLinkLibrary.h"
#include "platform/Profile.h"
#include "platform/ProgramLocations.h"
#include "platform/ProgramPaths.h"
#include "settings/LastUseSection.h"
#include "settings/SettingsSections.h"

namespace vistrel {

void ReadStartupSettings(const std::vector<std::string>& arguments, ProgramValues& values, LinkState& link,
                         PanelState& panel, Prompts& prompts, const CameraLinkRelease& releaseCameraLink) {
    bool found = false;
    const std::string contents = loadProfile(settingsReadPath(values), &found);
    if (!found) {
        if (!arguments.empty()) {
            prompts.tellWithCaption(settingsFileNameOf(values.SettingsPath), kMissingSettingsText);
        }
        values.SettingsFileFound = 0;
        return;
    }

    const std::string camFile = readProfileString(contents, kCommonSection, "Camera File", "-", kSettingsValueCapacity);
    if (camFile.find('-') == std::string::npos) {
        values.CamFileName = camFile;
        values.CamFilePath = resolveCamFilePath(values, camFile);
    }

    LinkSettings settings = readLinkSettings(contents);
    settings.cameraLinkLibrary = cameraLinkLibraryOf(settings.cameraLinkLibrary, settingsReadPath(values));
    if (settings.linkKind == kLinkCameraLink) {
        LoadCameraLinkFromSettings(settings, link, prompts);
    } else if (settings.linkKind) {
        SelectComLink(link, *settings.linkKind, releaseCameraLink);
    }
    link.SettingsChanged = 0;

    link.LinkBaudRate = settings.baudRate;
    link.ComDevice[0] = settings.comDevice[0];
    link.ComDevice[1] = settings.comDevice[1];
    readLastUse(contents, panel);
}

void LoadCameraLinkFromSettings(const LinkSettings& settings, LinkState& link, Prompts& prompts) {
    ReleaseCameraLinkLibrary(link, prompts);
    // A library that does not load or bind has shown its message; Camera Link stays the link all the
    // same, and nothing of it is called until another library is chosen.
    LoadCameraLinkLibrary(link, prompts, settings.cameraLinkLibrary);
    link.CameraLinkPort = settings.cameraLinkPort;
    link.LinkKind = kLinkCameraLink;
}

} // namespace vistrel
