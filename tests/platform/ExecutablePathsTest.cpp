#include "platform/ExecutablePaths.h"

#include <gtest/gtest.h>

namespace vistrel {
namespace {

TEST(ExecutablePaths, SettingsFileLiesBesideTheExecutableWithItsName) {
    EXPECT_EQ(appDirectoryOf("/opt/vistrel/bin/vistrel"), "/opt/vistrel/bin/");
    EXPECT_EQ(settingsFileNameOf("/opt/vistrel/bin/vistrel"), "vistrel.INI");
    // Only the last extension is replaced, and the name keeps its letter case.
    EXPECT_EQ(settingsFileNameOf("/a.b/Vistrel.v2.EXE"), "Vistrel.v2.INI");
    EXPECT_EQ(appDirectoryOf("/a.b/Vistrel.v2.EXE"), "/a.b/");
    EXPECT_EQ(camFilesDirectory("/a/"), "/a/CamFiles/");
}

TEST(ExecutablePaths, ExecutablePathNamesThisTestProgram) {
    const std::string path = executablePath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), '/');
    EXPECT_EQ(settingsFileNameOf(path), "platform_tests.INI");
}

} // namespace
} // namespace vistrel
