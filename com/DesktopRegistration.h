#pragma once

#include "platform/FileResult.h"

#include <string>
#include <vector>

namespace vistrel {

enum class RegistrationSwitch { None, Register, Unregister };

// "RegServer" or "UnregServer" after '-' or '/', in any letter case, anywhere in the arguments.
RegistrationSwitch findRegistrationSwitch(const std::vector<std::string>& arguments);

// "Embedding" or "Automation" after '-' or '/', in any letter case.
bool hasAutomationSwitch(const std::vector<std::string>& arguments);

// The user's applications folder: $XDG_DATA_HOME/applications, else $HOME/.local/share/applications.
// Empty when neither variable is set to an absolute path.
std::string applicationsFolder();

// Name of the program's desktop entry inside the applications folder; the installed entry has the
// same name (one setting of the build), so a registered one overrides it.
extern const char* const kDesktopEntryName;

// The desktop entry that starts the program at `executablePath`.
std::string desktopEntryText(const std::string& executablePath);

// Writes (atomically, creating the folder) or removes the program's desktop entry. Removing an
// entry that is not there succeeds.
FileResult registerDesktopEntry(const std::string& folder, const std::string& executablePath);
FileResult unregisterDesktopEntry(const std::string& folder);

} // namespace vistrel
