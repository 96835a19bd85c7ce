#include "platform/FileLocations.h"

#include "platform/ExecutablePaths.h"

#include <cstdlib>
#include <sys/stat.h>

namespace vistrel {

namespace {

bool isFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

std::string folderOf(const char* variable, const char* home, const char* defaultUnderHome) {
    if (variable != nullptr && variable[0] == '/') {
        return std::string(variable) + "/";
    }
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/" + defaultUnderHome;
    }
    return {};
}

} // namespace

bool isInstalledCopy(const std::string& appDirectory) {
    return !appDirectory.empty() && isFile(appDirectory + kInstalledMarkerName);
}

UserFolders userFoldersFrom(const char* xdgConfigHome, const char* xdgDataHome, const char* home) {
    return {folderOf(xdgConfigHome, home, ".config/"), folderOf(xdgDataHome, home, ".local/share/")};
}

UserFolders userFolders() {
    return userFoldersFrom(std::getenv("XDG_CONFIG_HOME"), std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

FileLocations fileLocationsOf(const std::string& executablePath, bool installed, const UserFolders& user) {
    const std::string besideProgram = appDirectoryOf(executablePath) + settingsFileNameOf(executablePath);
    FileLocations locations;
    // Without a home for the user's file an installed copy keeps the portable rule; a save then
    // reports why it could not write.
    if (!installed || user.config.empty()) {
        locations.settingsPath = besideProgram;
    } else {
        locations.settingsPath = user.config + "vistrel/" + settingsFileNameOf(executablePath);
        locations.settingsDefaultsPath = besideProgram;
    }
    if (installed && !user.data.empty()) {
        locations.userCamFilesDirectory = user.data + "vistrel/CamFiles/";
    }
    return locations;
}

std::string settingsReadPath(const RunValues& values) {
    if (values.SettingsDefaultsPath.empty() || isFile(values.SettingsPath)) {
        return values.SettingsPath;
    }
    return isFile(values.SettingsDefaultsPath) ? values.SettingsDefaultsPath : values.SettingsPath;
}

std::string resolveCamFilePath(const RunValues& values, const std::string& name) {
    if (!values.UserCamFilesDirectory.empty() && isFile(values.UserCamFilesDirectory + name)) {
        return values.UserCamFilesDirectory + name;
    }
    return camFilesDirectory(values.AppDirectory) + name;
}

std::vector<std::string> camFileFolders(const RunValues& values) {
    std::vector<std::string> folders;
    if (!values.UserCamFilesDirectory.empty()) {
        folders.push_back(values.UserCamFilesDirectory);
    }
    folders.push_back(camFilesDirectory(values.AppDirectory));
    return folders;
}

} // namespace vistrel
