#include "settings/SettingsSave.h"
#include "shell/Startup.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace vistrel {
namespace {

using test::TempDir;

// A copy of the program in <dir>/program/, the user's folders in <dir>/config/ and <dir>/data/.
struct Copy {
    TempDir dir;
    AppState state;
    test::ScriptedPrompts prompts;

    void markInstalled() const { dir.write(std::string("program/") + kInstalledMarkerName, ""); }
    void start() {
        state = AppState{};
        StartupInput input;
        input.executablePath = dir.path() + "program/vistrel";
        input.userFolders = {dir.path() + "config/", dir.path() + "data/"};
        ASSERT_EQ(runStartup(input, state, prompts).action, StartupAction::OpenFrame);
    }
    bool save() const { return SavePanelState(state.values, state.link, state.panel, 0).ok; }
};

TEST(SettingsLocation, PortableCopyKeepsItsFileBesideItself) {
    Copy copy;
    copy.dir.write("program/vistrel.INI", "[Common]\nCOM Port=2\nBaudRate=19200\n");
    copy.start();
    EXPECT_EQ(copy.state.values.SettingsPath, copy.dir.path() + "program/vistrel.INI");
    EXPECT_EQ(copy.state.link.LinkKind, kLinkCom2);
    EXPECT_EQ(copy.state.link.LinkBaudRate, 19200);

    copy.state.link.LinkBaudRate = 38400;
    ASSERT_TRUE(copy.save());
    EXPECT_NE(copy.dir.read("program/vistrel.INI").find("BaudRate=38400\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(copy.dir.path() + "config"));
}

TEST(SettingsLocation, InstalledCopyInAReadOnlyFolderSavesToTheUsersFile) {
    Copy copy;
    copy.markInstalled();
    std::filesystem::permissions(copy.dir.path() + "program",
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    copy.start();
    EXPECT_EQ(copy.state.values.SettingsPath, copy.dir.path() + "config/vistrel/vistrel.INI");
    EXPECT_EQ(copy.state.values.SettingsFileFound, 0);

    copy.state.link.LinkBaudRate = 19200;
    ASSERT_TRUE(copy.save());
    EXPECT_NE(copy.dir.read("config/vistrel/vistrel.INI").find("BaudRate=19200\n"), std::string::npos);
    // Only the mark: nothing is written beside the program, even where the user (root) could.
    EXPECT_EQ(test::entriesOf(copy.dir.path() + "program"), 1U);
}

TEST(SettingsLocation, InstalledCopyStartsFromTheFileBesideItUntilItsFirstSaveAndNeverWritesIt) {
    Copy copy;
    copy.markInstalled();
    const std::string defaults =
        "[Common]\nCamera File=linescan.cam\nCOM Port=2\nBaudRate=19200\n[Last use]\nComboBox1=3\n[Site]\nLab=7\n";
    copy.dir.write("program/vistrel.INI", defaults);
    copy.dir.write("program/CamFiles/linescan.cam", "");
    copy.start();
    EXPECT_EQ(copy.state.values.SettingsFileFound, 1);
    EXPECT_EQ(copy.state.link.LinkKind, kLinkCom2);
    EXPECT_EQ(copy.state.link.LinkBaudRate, 19200);
    EXPECT_EQ(copy.state.panel.ComboBox[0], 3);
    EXPECT_EQ(copy.state.values.CamFilePath, copy.dir.path() + "program/CamFiles/linescan.cam");
    EXPECT_FALSE(std::filesystem::exists(copy.dir.path() + "config/vistrel/vistrel.INI"));

    // The first save takes the defaults up into the user's file, with the run's values.
    copy.state.link.LinkBaudRate = 38400;
    ASSERT_TRUE(copy.save());
    const std::string saved = copy.dir.read("config/vistrel/vistrel.INI");
    EXPECT_NE(saved.find("BaudRate=38400\n"), std::string::npos);
    EXPECT_NE(saved.find("[Site]\nLab=7\n"), std::string::npos);
    EXPECT_EQ(copy.dir.read("program/vistrel.INI"), defaults);

    // From then on the user's file rules, and the user's description replaces the program's.
    copy.dir.write("program/vistrel.INI", "[Common]\nBaudRate=9600\n");
    copy.dir.write("data/vistrel/CamFiles/linescan.cam", "");
    copy.start();
    EXPECT_EQ(copy.state.link.LinkBaudRate, 38400);
    EXPECT_EQ(copy.state.values.CamFilePath, copy.dir.path() + "data/vistrel/CamFiles/linescan.cam");
}

} // namespace
} // namespace vistrel
