#include "app/Startup.h"

#include "com/DesktopRegistration.h"
#include "platform/ProgramPaths.h"

#include <filesystem>

namespace vistrel {

StartupResult runStartup(const StartupInput& input, AppState& state, Prompts& prompts) {
    StartupResult result;
    const RegistrationSwitch registration = findRegistrationSwitch(input.arguments);
    if (registration != RegistrationSwitch::None) {
        const ProfileResult done = registration == RegistrationSwitch::Register
                                       ? registerDesktopEntry(input.applicationsFolder, input.executablePath)
                                       : unregisterDesktopEntry(input.applicationsFolder);
        result.action = StartupAction::EndProcess;
        result.exitCode = done.ok ? 0 : 1;
        if (!done.ok) {
            const bool adding = registration == RegistrationSwitch::Register;
            result.problem =
                std::string(adding ? "cannot write the desktop entry" : "cannot remove the desktop entry") +
                (input.applicationsFolder.empty() ? "" : (adding ? " in " : " from ") + input.applicationsFolder) +
                ": " + done.reason;
        }
        return result;
    }
    // Started for automation: there is nothing to serve, so the process ends rather than idling
    // without a window.
    if (hasAutomationSwitch(input.arguments)) {
        result.action = StartupAction::EndProcess;
        return result;
    }

    state.values.AppDirectory = appDirectoryOf(input.executablePath);
    const ProgramLocations locations =
        programLocationsOf(input.executablePath, isInstalledCopy(state.values.AppDirectory), input.userFolders);
    state.values.SettingsPath = locations.settingsPath;
    state.values.SettingsDefaultsPath = locations.settingsDefaultsPath;
    state.values.UserCamFilesDirectory = locations.userCamFilesDirectory;
    if (!locations.settingsDefaultsPath.empty()) {
        // The save writes the file, not its folder. A folder that cannot be made shows in the
        // save's failure message.
        std::error_code ignored;
        std::filesystem::create_directories(appDirectoryOf(locations.settingsPath), ignored);
    }
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
