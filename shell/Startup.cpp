#include "shell/Startup.h"

#include "com/ComSwitches.h"
#include "link/CameraLinkLibrary.h"
#include "platform/ExecutablePaths.h"
#include "platform/FileLocations.h"

namespace vistrel {

StartupResult runStartup(const StartupInput& input, AppState& state, Prompts& prompts) {
    StartupResult result;
    const ComSwitchOutcome com = runComSwitches(input.arguments, input.executablePath, input.applicationsFolder);
    if (com.endProcess) {
        result.action = StartupAction::EndProcess;
        result.exitCode = com.exitCode;
        result.problem = com.problem;
        return result;
    }

    state.values.AppDirectory = appDirectoryOf(input.executablePath);
    const FileLocations locations =
        fileLocationsOf(input.executablePath, isInstalledCopy(state.values.AppDirectory), input.userFolders);
    state.values.SettingsPath = locations.settingsPath;
    state.values.SettingsDefaultsPath = locations.settingsDefaultsPath;
    state.values.UserCamFilesDirectory = locations.userCamFilesDirectory;
    const StartupSettings read = ReadStartupSettings(state.values);
    takeUpStartupSettings(read, input.arguments, state.values, state.link, state.panel, prompts,
                          input.releaseCameraLink);
    state.transcript = read.transcript;
    return result;
}

void takeUpStartupSettings(const StartupSettings& read, const std::vector<std::string>& arguments, RunValues& values,
                           LinkState& link, PanelState& panel, Prompts& prompts,
                           const CameraLinkRelease& releaseCameraLink) {
    if (!read.found) {
        if (!arguments.empty()) {
            prompts.tellWithCaption(settingsFileNameOf(values.SettingsPath), kMissingSettingsText);
        }
        values.SettingsFileFound = 0;
        return;
    }
    if (read.camFileName) {
        values.CamFileName = *read.camFileName;
        values.CamFilePath = resolveCamFilePath(values, *read.camFileName);
    }
    if (read.link.linkKind == kLinkCameraLink) {
        LoadCameraLinkFromSettings(read.link, link, prompts);
    } else if (read.link.linkKind) {
        SelectComLink(link, *read.link.linkKind, releaseCameraLink);
    }
    link.SettingsChanged = 0;
    link.LinkBaudRate = read.link.baudRate;
    link.ComDevice[0] = read.link.comDevice[0];
    link.ComDevice[1] = read.link.comDevice[1];
    panel = read.lastUse;
}

void LoadCameraLinkFromSettings(const LinkSettings& settings, LinkState& link, Prompts& prompts) {
    ReleaseCameraLinkLibrary(link, prompts);
    // A library that does not load or bind has shown its message; Camera Link stays the link all the
    // same, and nothing of it is called until another library is chosen.
    LoadCameraLinkLibrary(link, prompts, settings.cameraLinkLibrary);
    link.CameraLinkPort = settings.cameraLinkPort;
    link.LinkKind = kLinkCameraLink;
}

void announceDebugMode(const std::vector<std::string>& arguments, AppState& state, Prompts& prompts) {
    if (arguments.empty()) {
        return;
    }
    prompts.tell(kDebugModeText);
    state.values.DebugMode = 1;
}

} // namespace vistrel
