#include "tools/vistrelctl/CameraSession.h"

#include "link/CameraLinkLibrary.h"
#include "platform/FileLocations.h"
#include "tools/vistrelctl/LinkSetup.h"

#include <cstdio>

namespace vistrel::ctl {

namespace {

// The link the save writes back, as the settings file names it: no library is loaded for it.
LinkState linkOfSettings(const StartupSettings& read) {
    LinkState link;
    if (!read.found) {
        return link;
    }
    link.LinkKind = read.link.linkKind.value_or(link.LinkKind);
    if (link.LinkKind == kLinkCameraLink) {
        link.CameraLinkLibraryPath = read.link.cameraLinkLibrary;
        link.CameraLinkPort = read.link.cameraLinkPort;
    }
    link.LinkBaudRate = read.link.baudRate;
    link.ComDevice[0] = read.link.comDevice[0];
    link.ComDevice[1] = read.link.comDevice[1];
    return link;
}

} // namespace

void SessionPanelView::showStatusLine(const std::string& text) {
    refusedCommand = refusedCommand || text == kTextCommandTooLong;
    DataPanelView::showStatusLine(text);
}

CameraSession::CameraSession(const SendOptions& linkOptions, const SettingsRead& settings)
    : options(linkOptions), values(settings.values), savedLink(linkOfSettings(settings.read)),
      panel(settings.read.lastUse) {
    const StartupSettings& read = settings.read;
    if (!read.found) {
        values.SettingsFileFound = 0;
    } else if (read.camFileName) {
        values.CamFileName = *read.camFileName;
        values.CamFilePath = resolveCamFilePath(values, *read.camFileName);
    }
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

int CameraSession::connect(const char* command) {
    std::string error;
    if (!observed.openTranscript(options.transcript, error)) {
        std::fprintf(stderr, "vistrelctl %s: %s\n", command, error.c_str());
        return kLinkExitNoLink;
    }
    if (!setUpLink(options, linkState, prompts)) {
        return kLinkExitNoLink;
    }
    commPanel.OnConnection();
    if (lost()) {
        return endLost();
    }
    if (records.connection.CameraConnected == 0) {
        const std::optional<int> stuck = reportGrabberStuck(linkState);
        const int code = stuck ? *stuck
                               : reportLinkNotOpened(linkState, records.connection.StatusPaneText,
                                                     records.connection.StatusPaneReason);
        ReleaseCameraLinkLibrary(linkState, prompts);
        return code;
    }
    return kLinkExitOk;
}

void CameraSession::disconnect() {
    if (!lost()) {
        commPanel.OnDisconnection();
    }
    ReleaseCameraLinkLibrary(linkState, prompts);
}

int CameraSession::endLost() {
    ReleaseCameraLinkLibrary(linkState, prompts);
    return observed.reportLost();
}

} // namespace vistrel::ctl
