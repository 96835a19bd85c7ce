#include "app/Startup.h"

#include "camera/PanelStateStore.h"
#include "com/ComSwitches.h"
#include "link/CameraLinkSettings.h"
#include "link/SerialDeviceSettings.h"
#include "platform/Profile.h"
#include "platform/ProgramPaths.h"

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
    state.values.SettingsPath = state.values.AppDirectory + settingsFileNameOf(input.executablePath);
    readStartupSettings(input.arguments, state, prompts, input.releaseCameraLink);
    return result;
}

void readStartupSettings(const std::vector<std::string>& arguments, AppState& state, Prompts& prompts,
                         const CameraLinkRelease& releaseCameraLink) {
    ProgramValues& values = state.values;
    LinkState& link = state.link;

    bool found = false;
    const std::string contents = loadProfile(values.SettingsPath, &found);
    if (!found) {
        if (!arguments.empty()) {
            prompts.tellWithCaption(settingsFileNameOf(values.SettingsPath), kMissingSettingsText);
        }
        values.SettingsFileFound = 0;
        return;
    }

    const std::string camFile = readProfileString(contents, "Common", "Camera File", "-", kSettingsValueCapacity);
    if (camFile.find('-') == std::string::npos) {
        values.CamFileName = camFile;
        values.CamFilePath = camFilesDirectory(values.AppDirectory) + camFile;
    }

    // Three independent tests; where several match, the later selection wins.
    const std::string comPort = readProfileString(contents, "Common", "COM Port", "2", kSettingsValueCapacity);
    if (comPort.find('1') != std::string::npos) {
        SelectComLink(link, kLinkCom1, releaseCameraLink);
    }
    if (comPort.find('2') != std::string::npos) {
        SelectComLink(link, kLinkCom2, releaseCameraLink);
    }
    if (comPort.find('3') != std::string::npos) {
        LoadCameraLinkFromSettings(values.SettingsPath, link, prompts);
    }
    link.SettingsChanged = 0;

    link.LinkBaudRate = readProfileInt(contents, "Common", "BaudRate", 9600);
    readSerialDevices(contents, link);
    readLastUse(contents, state.panel);
}

void announceDebugMode(const std::vector<std::string>& arguments, AppState& state, Prompts& prompts) {
    if (arguments.empty()) {
        return;
    }
    prompts.tell(kDebugModeText);
    state.values.DebugMode = 1;
}

} // namespace vistrel
