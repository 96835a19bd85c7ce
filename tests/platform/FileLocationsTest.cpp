#include "platform/FileLocations.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace vistrel {
namespace {

TEST(FileLocations, UserFoldersFollowTheXdgVariablesThenHome) {
    const UserFolders set = userFoldersFrom("/cfg", "/data", "/home/u");
    EXPECT_EQ(set.config, "/cfg/");
    EXPECT_EQ(set.data, "/data/");
    // Relative or empty variables are ignored, as the base directory rules say.
    const UserFolders defaults = userFoldersFrom("relative", "", "/home/u");
    EXPECT_EQ(defaults.config, "/home/u/.config/");
    EXPECT_EQ(defaults.data, "/home/u/.local/share/");
    const UserFolders none = userFoldersFrom(nullptr, nullptr, nullptr);
    EXPECT_TRUE(none.config.empty() && none.data.empty());
}

TEST(FileLocations, PortableCopyKeepsEverythingBesideItselfAndAnInstalledOneUsesTheUsersFolders) {
    const UserFolders user{"/home/u/.config/", "/home/u/.local/share/"};
    const FileLocations portable = fileLocationsOf("/opt/v/vistrel", false, user);
    EXPECT_EQ(portable.settingsPath, "/opt/v/vistrel.INI");
    EXPECT_EQ(portable.settingsDefaultsPath, "");
    EXPECT_EQ(portable.userCamFilesDirectory, "");

    const FileLocations installed = fileLocationsOf("/usr/lib/vistrel/vistrel", true, user);
    EXPECT_EQ(installed.settingsPath, "/home/u/.config/vistrel/vistrel.INI");
    EXPECT_EQ(installed.settingsDefaultsPath, "/usr/lib/vistrel/vistrel.INI");
    EXPECT_EQ(installed.userCamFilesDirectory, "/home/u/.local/share/vistrel/CamFiles/");

    // No home for the user's file: the file beside the program, as a portable copy.
    const FileLocations homeless = fileLocationsOf("/usr/lib/vistrel/vistrel", true, {});
    EXPECT_EQ(homeless.settingsPath, "/usr/lib/vistrel/vistrel.INI");
    EXPECT_EQ(homeless.settingsDefaultsPath, "");
}

TEST(FileLocations, InstalledCopyIsMarkedByAFileBesideTheProgram) {
    test::TempDir dir;
    EXPECT_FALSE(isInstalledCopy(dir.path()));
    dir.write(std::string("sub/") + kInstalledMarkerName + "/x", ""); // a folder of that name is no mark
    EXPECT_FALSE(isInstalledCopy(dir.path() + "sub/"));
    dir.write(kInstalledMarkerName, "");
    EXPECT_TRUE(isInstalledCopy(dir.path()));
    EXPECT_FALSE(isInstalledCopy(""));
}

TEST(FileLocations, SettingsAreReadFromTheDefaultsOnlyUntilTheUsersFileExists) {
    test::TempDir dir;
    RunValues values;
    values.SettingsPath = dir.path() + "config/vistrel/vistrel.INI";
    EXPECT_EQ(settingsReadPath(values), values.SettingsPath); // portable: no defaults

    values.SettingsDefaultsPath = dir.path() + "program/vistrel.INI";
    EXPECT_EQ(settingsReadPath(values), values.SettingsPath); // no defaults file either
    dir.write("program/vistrel.INI", "[Common]\n");
    EXPECT_EQ(settingsReadPath(values), values.SettingsDefaultsPath);
    dir.write("config/vistrel/vistrel.INI", "[Common]\n");
    EXPECT_EQ(settingsReadPath(values), values.SettingsPath);
}

TEST(FileLocations, UsersDescriptionTakesThePlaceOfTheProgramsOfTheSameExactName) {
    test::TempDir dir;
    RunValues values;
    values.AppDirectory = dir.path() + "program/";
    dir.write("program/CamFiles/linescan.cam", "program");
    dir.write("program/CamFiles/minimal.cam", "program");
    EXPECT_EQ(camFileFolders(values), std::vector<std::string>{dir.path() + "program/CamFiles/"});
    EXPECT_EQ(resolveCamFilePath(values, "linescan.cam"), dir.path() + "program/CamFiles/linescan.cam");

    values.UserCamFilesDirectory = dir.path() + "data/vistrel/CamFiles/";
    dir.write("data/vistrel/CamFiles/linescan.cam", "user");
    dir.write("data/vistrel/CamFiles/Minimal.cam", "user");
    EXPECT_EQ(camFileFolders(values),
              (std::vector<std::string>{values.UserCamFilesDirectory, dir.path() + "program/CamFiles/"}));
    EXPECT_EQ(resolveCamFilePath(values, "linescan.cam"), values.UserCamFilesDirectory + "linescan.cam");
    EXPECT_EQ(resolveCamFilePath(values, "minimal.cam"), dir.path() + "program/CamFiles/minimal.cam");
    EXPECT_EQ(resolveCamFilePath(values, "Minimal.cam"), values.UserCamFilesDirectory + "Minimal.cam");
    // A name nowhere: the program's folder, where a load then reports it missing.
    EXPECT_EQ(resolveCamFilePath(values, "none.cam"), dir.path() + "program/CamFiles/none.cam");
}

} // namespace
} // namespace vistrel
