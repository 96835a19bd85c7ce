#pragma once

#include <string>

namespace vistrel {

// The values of one run: where the program and its files are, the description in use, and the
// run's flags. Formed at start-up, owned by the application, handed by reference.
struct RunValues {
    std::string AppDirectory; // folder of the executable, with a trailing '/'
    std::string SettingsPath; // AppDirectory + executable name with its extension replaced by ".INI"
    // An installed copy: SettingsPath is the user's file, and these are the read-only defaults
    // beside the program and the user's own descriptions folder. Empty for a portable copy.
    std::string SettingsDefaultsPath;
    std::string UserCamFilesDirectory;
    std::string CamFileName; // bare file name of the camera description, no folder
    std::string CamFilePath; // AppDirectory + "CamFiles/" + CamFileName
    int SettingsFileFound = 1;
    int DebugMode = 0;
};

} // namespace vistrel
