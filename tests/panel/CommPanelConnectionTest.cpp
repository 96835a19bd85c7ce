#include "panel/SettingsReply.h"
#include "tests/panel/PanelFixture.h"

namespace vistrel::test {
namespace {

using Connection = PanelFixture;

TEST_F(Connection, OutcomesAndTextsOfBothPanes) {
    load(kSmallCam);
    linkState.LinkKind = kLinkCom2;
    link.answerReply(">OK\r");
    panel.OnConnection();
    EXPECT_EQ(link.commands.back(), "ID?");
    EXPECT_EQ(records.connection.StatusPaneText, ">OK connected");
    EXPECT_EQ(records.connection.ConnectionPaneText, "Connexion on COM2");
    EXPECT_EQ(records.connection.CameraConnected, 1);
    EXPECT_EQ(records.connection.CameraDisconnected, 0);
    EXPECT_EQ(records.connection.CameraIdentified, 1);
    EXPECT_FALSE(linkState.LinkMenuEnabled);
    // Twice on a COM port: already connected counts as connected and identifies again.
    link.openResults.push_back({-1, "Connexion Already Done", {}});
    link.answerReply("camera OK");
    panel.OnConnection();
    EXPECT_EQ(link.commands.size(), 2u);
    EXPECT_EQ(records.connection.StatusPaneText, "camera OK connected");
    // A reply without "OK" still connects; a CR first keeps the whole reply.
    link.answerReply(">1\r");
    panel.OnConnection();
    EXPECT_EQ(records.connection.StatusPaneText, "Camera connected");
    EXPECT_EQ(records.connection.CameraIdentified, 0);
    link.answerReply("\rOK>OK\r");
    panel.OnConnection();
    EXPECT_EQ(records.connection.StatusPaneText, "\rOK>OK\r connected");

    panel.OnDisconnection();
    EXPECT_EQ(records.connection.StatusPaneText, "Connexion Closed");
    EXPECT_EQ(records.connection.ConnectionPaneText, "NO Connexion");
    EXPECT_EQ(records.connection.CameraConnected, 0);
    EXPECT_EQ(records.connection.CameraDisconnected, 1);
    EXPECT_TRUE(linkState.LinkMenuEnabled);
}

TEST_F(Connection, FailureChangesOnlyPaneZeroOutsideDebugMode) {
    link.openResults.push_back({0, "Error : no camera ?", {}});
    panel.OnConnection();
    EXPECT_EQ(records.connection.StatusPaneText, "Error : no camera ?");
    EXPECT_EQ(records.connection.ConnectionPaneText, "-");
    EXPECT_EQ(records.connection.CameraConnected, 0);
    EXPECT_TRUE(link.commands.empty());
    values.DebugMode = 1;
    link.openResults.push_back({0, "Error On Opening Communication", {}});
    panel.OnConnection();
    EXPECT_EQ(records.connection.CameraConnected, 1);
    EXPECT_EQ(records.connection.CameraDisconnected, 0);
    EXPECT_FALSE(linkState.LinkMenuEnabled);
    EXPECT_EQ(records.connection.CameraIdentified, 0);
    EXPECT_TRUE(link.commands.empty());
}

TEST_F(Connection, FailedReopeningLeavesTheStateDisconnected) {
    load(kSmallCam);
    linkState.LinkKind = kLinkCameraLink;
    link.answerReply(">OK\r");
    panel.OnConnection();
    ASSERT_EQ(records.connection.CameraConnected, 1);
    link.openResults.push_back({0, "Connexion Error", {}});
    panel.OnConnection();
    EXPECT_EQ(records.connection.StatusPaneText, "Connexion Error");
    EXPECT_EQ(records.connection.ConnectionPaneText, "NO Connexion");
    EXPECT_EQ(records.connection.CameraConnected, 0);
    EXPECT_EQ(records.connection.CameraDisconnected, 1);
    EXPECT_TRUE(linkState.LinkMenuEnabled);
    EXPECT_FALSE(panel.OnUpdateFileOpen().enabled);
}

TEST_F(Connection, UpdateRulesFollowTheFlags) {
    EXPECT_TRUE(panel.OnUpdateDisconnection().checked);
    EXPECT_EQ(records.connection.ConfigCommandEnabled, 0);
    EXPECT_FALSE(panel.OnUpdateConfigCommand().enabled);
    EXPECT_FALSE(panel.OnUpdateFileOpen().enabled);
    EXPECT_FALSE(panel.OnUpdateConnection().checked);

    load(kSmallCam);
    panel.OnConnection();
    EXPECT_TRUE(panel.OnUpdateConnection().checked);
    EXPECT_FALSE(panel.OnUpdateDisconnection().checked);
    EXPECT_TRUE(panel.OnUpdateConfigCommand().enabled);
    EXPECT_TRUE(panel.OnUpdateFileOpen().enabled);
    EXPECT_FALSE(panel.OnUpdateRefresh().enabled);
    panel.ApplyPanel();
    EXPECT_TRUE(panel.OnUpdateRefresh().enabled);

    panel.OnDisconnection();
    panel.OnUpdateConnection();
    panel.OnUpdateDisconnection();
    EXPECT_FALSE(panel.OnUpdateRefresh().enabled);
    EXPECT_FALSE(panel.OnUpdateConfigCommand().enabled);
    // Connected again: refresh comes back once the panel was applied.
    panel.OnConnection();
    panel.OnUpdateConnection();
    EXPECT_TRUE(panel.OnUpdateRefresh().enabled);
}

TEST(SettingsReply, ParsesKeysValuesAndMatchesEveryControl) {
    CameraDescription description;
    description.combos[0].character = "A";
    description.combos[0].values[0] = "0";
    description.combos[0].values[1] = "1";
    description.combos[0].values[2] = "2";
    description.combos[1].character = "A"; // a second match of the same key
    description.combos[1].values[4] = "1";
    description.checks[0].character = "B";
    description.checks[0].value1 = "off";
    description.lists[0].character = "B";
    description.lists[1].character = "L";
    PanelState panel;
    panel.ComboBox[2] = 6;
    std::vector<std::string> heard;
    parseCameraSettings("A=1\rB=2\rZ=9\rL=12px\r>OK\r", description, panel,
                        [&](const std::string& k, const std::string& v) { heard.push_back(k + "=" + v); });
    EXPECT_EQ(heard, (std::vector<std::string>{"A=1", "B=2", "Z=9", "L=12px"}));
    EXPECT_EQ(panel.ComboBox[0], 1);
    EXPECT_EQ(panel.ComboBox[1], 4);
    EXPECT_EQ(panel.ComboBox[2], 6);
    EXPECT_EQ(panel.Check[0], 1); // neither value: checked
    EXPECT_EQ(panel.ListBox[0], "2");
    EXPECT_EQ(panel.ListBox[1], "12");

    // No matching slot, exact comparison, a value without a CR, a check box's first value.
    parseCameraSettings("a=0\rA=9\rA= 1\rB=off", description, panel);
    EXPECT_EQ(panel.ComboBox[0], 1);
    EXPECT_EQ(panel.Check[0], 1); // "off" had no CR: the value is empty
    parseCameraSettings("B=off\r", description, panel);
    EXPECT_EQ(panel.Check[0], 0);
    // A report beginning with '=' is not read; an empty key matches nothing, not even an
    // undefined control.
    parseCameraSettings("=A=0\r", description, panel);
    EXPECT_EQ(panel.ComboBox[0], 1);
    description.checks[0].character.clear();
    panel.Check[0] = 5;
    parseCameraSettings("x\r=7\r", description, panel);
    EXPECT_EQ(panel.Check[0], 5);
}

TEST_F(Connection, FactoryAndSettingsCommandsReportNegativeResultsOnly) {
    load(kSmallCam);
    link.answer({-1, "Sending error", ""});
    EXPECT_EQ(panel.SendFactorySettings(), -1);
    EXPECT_EQ(link.commands.back(), "RST");
    link.answer({0, "No Connexion", ""});
    panel.SendFactorySettings();
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Error : Factory settings"});

    state.ComboBox[0] = 0;
    link.answer({-2, "Acknowledge error", "G=2\r"});
    panel.ReadCameraSettings();
    EXPECT_EQ(prompts.texts().back(), "Error : Camera settings");
    EXPECT_EQ(state.ComboBox[0], 0);
    // A result of 0 counts as success: whatever arrived is read.
    link.answer({0, "No Connexion", "G=2\r"});
    panel.ReadCameraSettings();
    EXPECT_EQ(state.ComboBox[0], 2);

    values.DebugMode = 1;
    prompts.shown.clear();
    panel.SendFactorySettings();
    link.answerReply("G=1\r>OK\r");
    panel.ReadCameraSettings();
    connect();
    panel.OnRefresh();
    ASSERT_EQ(prompts.shown.size(), 4u);
    EXPECT_EQ(prompts.shown[0].text, "Factory settings actived");
    EXPECT_EQ(prompts.shown[1].caption, "Camera settings");
    EXPECT_EQ(prompts.shown[1].text, "G=1\r>OK\r");
    EXPECT_EQ(prompts.shown[2].text, "G=1");
    EXPECT_EQ(prompts.shown[3].text, "Camera setting refreshed");
}

} // namespace
} // namespace vistrel::test
