#include "com/ComSwitches.h"

#include "com/DesktopRegistration.h"

namespace vistrel {

ComSwitchOutcome runComSwitches(const std::vector<std::string>& arguments, const std::string& executablePath,
                                const std::string& applicationsFolder) {
    ComSwitchOutcome outcome;
    const RegistrationSwitch registration = findRegistrationSwitch(arguments);
    if (registration != RegistrationSwitch::None) {
        const bool adding = registration == RegistrationSwitch::Register;
        const FileResult done = adding ? registerDesktopEntry(applicationsFolder, executablePath)
                                       : unregisterDesktopEntry(applicationsFolder);
        outcome.endProcess = true;
        outcome.exitCode = done.ok ? 0 : 1;
        if (!done.ok) {
            outcome.problem =
                std::string(adding ? "cannot write the desktop entry" : "cannot remove the desktop entry") +
                (applicationsFolder.empty() ? "" : (adding ? " in " : " from ") + applicationsFolder) + ": " +
                done.reason;
        }
        return outcome;
    }
    // Started for automation: there is nothing to serve, so the process ends rather than idling
    // without a window.
    outcome.endProcess = hasAutomationSwitch(arguments);
    return outcome;
}

} // namespace vistrel
