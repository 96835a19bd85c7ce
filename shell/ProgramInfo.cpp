#include "shell/ProgramInfo.h"

#include "shell/AboutTexts.h"

namespace vistrel {

// The package is made from the same version as the program says it is.
static_assert(kVersionMajor == VISTREL_VERSION_MAJOR && kVersionMinor == VISTREL_VERSION_MINOR &&
                  kVersionRelease == VISTREL_VERSION_PATCH,
              "the version in AboutTexts.h and the project's version in CMakeLists.txt differ");

InformationRequest findInformationRequest(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--help") {
            return InformationRequest::Help;
        }
        if (argument == "--version") {
            return InformationRequest::Version;
        }
    }
    return InformationRequest::None;
}

std::string versionText(const std::string& program) {
    return program + " (Vistrel) " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRelease) +
           "\n"
           "Copyright (C) 2026 The Vistrel developers\n"
           "License: MIT <https://spdx.org/licenses/MIT.html>\n"
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

std::string vistrelHelpText() {
    return "Usage: vistrel [-RegServer | -UnregServer | --help | --version]\n"
           "  or:  vistrel ARGUMENT...\n"
           "Set up an industrial camera over its serial control channel: pick the link, connect, load a\n"
           "camera description and work its panel of controls.\n"
           "\n"
           "  -RegServer     add a desktop menu entry for this program (in $XDG_DATA_HOME/applications),\n"
           "                 then end without a window\n"
           "  -UnregServer   remove that entry, then end without a window\n"
           "  --help         show this help, then end\n"
           "  --version      show the version, then end\n"
           "Any other argument opens the window in debug mode, which adds diagnostic messages and lets\n"
           "the panel be worked after a failed connection. The switches also start with '/' and take\n"
           "any letter case.\n"
           "\n"
           "Settings are read from vistrel.INI beside the program; an installed copy keeps them in\n"
           "$XDG_CONFIG_HOME/vistrel/vistrel.INI. Camera descriptions are the .cam files of CamFiles/.\n"
           "Exit status: 0 on a normal end, 1 when a desktop entry could not be written or removed.\n"
           "Full documentation: man vistrel\n";
}

} // namespace vistrel
