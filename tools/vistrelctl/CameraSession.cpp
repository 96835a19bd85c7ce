#include "tools/vistrelctl/CameraSession.h"

#include "link/CameraLinkLibrary.h"
#include "settings/StartupSettings.h"
#include "tools/vistrelctl/LinkSetup.h"

#include <cstdio>

namespace vistrel::ctl {

CameraSession::CameraSession(const SendOptions& linkOptions) : options(linkOptions) {
    values = programValuesOfThisFolder();
    values.SettingsPath = options.settingsPath;
    values.SettingsDefaultsPath = options.settingsDefaultsPath;
    ReadStartupSettings({}, values, savedLink, panel, prompts);
}

bool CameraSession::loadDescription(const char* command) {
    commPanel.LoadCamFileAt(options.camFile);
    if (!commPanel.descriptionLoaded()) {
        std::fprintf(stderr, "vistrelctl %s: cannot read the camera description %s\n", command,
                     options.camFile.c_str());
        return false;
    }
    if (options.delayMs) {
        records.description.CharDelayMs = *options.delayMs;
    }
    return true;
}

int CameraSession::connect() {
    if (!setUpLink(options, linkState, prompts)) {
        return kLinkExitNoLink;
    }
    commPanel.OnConnection();
    if (records.connection.CameraConnected == 0) {
        const int code = reportLinkNotOpened(linkState, records.connection.StatusPaneText);
        ReleaseCameraLinkLibrary(linkState, prompts);
        return code;
    }
    return kLinkExitOk;
}

void CameraSession::disconnect() {
    commPanel.OnDisconnection();
    ReleaseCameraLinkLibrary(linkState, prompts);
}

} // namespace vistrel::ctl
