#include "shell/Startup.h"

#include "com/ComSwitches.h"
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
    const ProgramLocations locations =
        programLocationsOf(input.executablePath, isInstalledCopy(state.values.AppDirectory), input.userFolders);
    state.values.SettingsPath = locations.settingsPath;
    state.values.SettingsDefaultsPath = locations.settingsDefaultsPath;
    state.values.UserCamFilesDirectory = locations.userCamFilesDirectory;
    readStartupSettings(input.arguments, state, prompts, input.releaseCameraLink);
    return result;
}

void readStartupSettings(const std::vector<std::string>& arguments, AppState& state, Prompts& prompts,
                         const CameraLinkRelease& releaseCameraLink) {
    ReadStartupSettings(arguments, state.values, state.link, state.panel, prompts, releaseCameraLink);
}

void announceDebugMode(const std::vector<std::string>& arguments, AppState& state, Prompts& prompts) {
    if (arguments.empty()) {
        return;
    }
    prompts.tell(kDebugModeText);
    state.values.DebugMode = 1;
}

} // namespace vistrel
