#pragma once

#include "platform/RunValues.h"

#include <string>
#include <vector>

namespace vistrel {

// An installed copy (put in place by `cmake --install` or the package) carries this file in its
// folder. Writability cannot tell installed from portable: root can write anywhere.
inline constexpr const char* kInstalledMarkerName = "vistrel.installed";

bool isInstalledCopy(const std::string& appDirectory);

// The user's folders of the XDG base directory rules, each with a trailing '/': the variable when
// it holds an absolute path, else the default under `home`; empty when neither is usable.
struct UserFolders {
    std::string config; // $XDG_CONFIG_HOME, else ~/.config/
    std::string data;   // $XDG_DATA_HOME, else ~/.local/share/
};
UserFolders userFoldersFrom(const char* xdgConfigHome, const char* xdgDataHome, const char* home);
UserFolders userFolders(); // from this process's environment

// Where a copy keeps its settings and finds camera descriptions. A portable copy (a build folder,
// a folder the user copied it to): the settings file beside itself, no defaults, the program's
// CamFiles/ only. An installed copy: the user's <config>/vistrel/<name>.INI, the file beside the
// program as read-only defaults, and the user's <data>/vistrel/CamFiles/ before the program's.
struct FileLocations {
    std::string settingsPath;
    std::string settingsDefaultsPath;
    std::string userCamFilesDirectory;
};
FileLocations fileLocationsOf(const std::string& executablePath, bool installed, const UserFolders& user);

// The file the settings are read from: the settings file while it exists; before the first save
// of an installed copy, the defaults beside the program when there are any.
std::string settingsReadPath(const RunValues& values);

// Where the description `name` is read from: the user's folder when it holds the name (compared
// exactly), else the program's CamFiles/.
std::string resolveCamFilePath(const RunValues& values, const std::string& name);

// The folders descriptions are listed from, the user's first.
std::vector<std::string> camFileFolders(const RunValues& values);

} // namespace vistrel
