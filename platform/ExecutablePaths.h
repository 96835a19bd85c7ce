#pragma once

#include <string>

namespace vistrel {

// Full path of the running executable, as the system reports it; empty when it cannot be had.
std::string executablePath();

// The folder that holds the executable, cut after its last '/', that '/' included.
std::string appDirectoryOf(const std::string& executablePath);

// The settings file's name: the executable's file name with its extension (from the last '.')
// replaced by ".INI", or ".INI" appended when the name has no extension.
std::string settingsFileNameOf(const std::string& executablePath);

// Folder of the camera descriptions under a program folder.
inline std::string camFilesDirectory(const std::string& appDirectory) {
    return appDirectory + "CamFiles/";
}

} // namespace vistrel
