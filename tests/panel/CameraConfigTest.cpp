#include "panel/CamFileList.h"
#include "tests/panel/PanelFixture.h"

namespace vistrel::test {
namespace {

using CameraConfiguration = PanelFixture;

TEST_F(CameraConfiguration, ListsDescriptionsInNameOrderAndSelectsTheSavedOne) {
    writeCam("b.cam", "");
    writeCam("A.CAM", "");
    writeCam("linescan.cam", "");
    writeCam("notes.txt", "");
    ::mkdir((folder.path() + "CamFiles/dir.cam").c_str(), 0755);
    values.CamFileName = "LINESCAN.cam";
    CameraConfigSetup setup = panel.cameraConfigSetup();
    EXPECT_EQ(setup.names, (std::vector<std::string>{"A.CAM", "b.cam", "linescan.cam"}));
    EXPECT_EQ(setup.selected, 2);
    EXPECT_EQ(setup.editText, "linescan.cam");
    // No name, a name not in the list, a mere prefix: the first entry. The name's own case first.
    writeCam("a.cam", "");
    const std::pair<const char*, int> cases[] = {{"", 0},      {"zzz.cam", 0}, {"a", 0},
                                                 {"B.CAM", 2}, {"a.cam", 1},   {"A.cam", 0}};
    for (const auto& [name, selected] : cases) {
        values.CamFileName = name;
        EXPECT_EQ(panel.cameraConfigSetup().selected, selected) << name;
    }
    // No folder: an empty list with the saved name in the edit field.
    values.AppDirectory = folder.path() + "nowhere/";
    setup = panel.cameraConfigSetup();
    EXPECT_TRUE(setup.names.empty());
    EXPECT_EQ(setup.selected, -1);
    EXPECT_EQ(setup.editText, "A.cam");
}

TEST_F(CameraConfiguration, RadiosFollowTheSettingsFileAndTheIdentification) {
    for (int found : {0, 1}) {
        for (int identified : {0, 1}) {
            values.SettingsFileFound = found;
            records.connection.CameraIdentified = identified;
            const CameraConfigSetup setup = panel.cameraConfigSetup();
            EXPECT_EQ(setup.radioEnabled[0], found == 1);
            EXPECT_EQ(setup.radioEnabled[1], identified == 1);
            EXPECT_EQ(setup.radioEnabled[2], identified == 1);
            EXPECT_EQ(setup.radioChecked, identified == 1 ? 1 : 0);
        }
    }
}

TEST_F(CameraConfiguration, EachInitialisationRunsAfterTheLoadEvenWhenTheFileIsMissing) {
    writeCam("test.cam", kSmallCam);
    connect();
    int loads = 0;
    panel.setPanelStateLoader([&](PanelState& loaded) {
        ++loads;
        loaded.ComboBox[0] = 1;
    });
    panel.ConfigureCamera({"test.cam", InitChoice::SavedValues});
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(records.LoadedTitle, " test.cam  loaded");
    EXPECT_EQ(link.commands.front(), "G=1");

    link.commands.clear();
    link.answerReply("G=2\r>OK\r");
    panel.ConfigureCamera({"test.cam", InitChoice::CameraSettings});
    EXPECT_EQ(link.commands.front(), "CFG?");
    EXPECT_EQ(link.commands[1], "G=2");

    link.commands.clear();
    link.answerReply(">OK\r");
    link.answerReply("G=0\r>OK\r");
    panel.ConfigureCamera({"missing.cam", InitChoice::FactorySettings});
    EXPECT_EQ(records.LoadedTitle, " ");
    EXPECT_EQ(values.CamFileName, "missing.cam");
    EXPECT_EQ(link.commands[0], "RST");
    EXPECT_EQ(link.commands[1], "CFG?");
    EXPECT_EQ(link.commands[2], "G=0");

    link.commands.clear();
    panel.ConfigureCamera({"test.cam", InitChoice::None});
    EXPECT_TRUE(link.commands.empty());

    struct Cancelled : CameraConfigDialogRunner {
        std::optional<CameraConfigAnswer> run(const CameraConfigSetup&) override { return std::nullopt; }
    } cancelled;
    values.CamFileName = "test.cam";
    panel.OpenCameraConfiguration(cancelled);
    EXPECT_EQ(values.CamFileName, "test.cam");
    EXPECT_TRUE(link.commands.empty());
}

} // namespace
} // namespace vistrel::test

namespace vistrel::test {
namespace {

TEST_F(CameraConfiguration, UsersDescriptionsJoinTheListAndTakeThePlaceOfTheProgramsOwn) {
    writeCam("shared.cam", "[ComboBox1]\nTitle=Program's\n");
    writeCam("program.cam", "");
    ::mkdir((folder.path() + "user").c_str(), 0755);
    folder.write("user/shared.cam", "[ComboBox1]\nTitle=User's\n");
    folder.write("user/Extra.CAM", "");
    values.UserCamFilesDirectory = folder.path() + "user/";
    EXPECT_EQ(panel.cameraConfigSetup().names, (std::vector<std::string>{"Extra.CAM", "program.cam", "shared.cam"}));
    panel.ConfigureCamera({"shared.cam", InitChoice::None});
    EXPECT_EQ(view[1000].caption, "User's");
    EXPECT_EQ(values.CamFilePath, folder.path() + "user/shared.cam");
}

} // namespace
} // namespace vistrel::test
