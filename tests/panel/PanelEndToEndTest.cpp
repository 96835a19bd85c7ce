// The panel as the program drives it, through the real link path, against the camera simulator
// serving the sample line-scan camera on a pseudo-terminal.
#include "link/SystemLink.h"
#include "panel/CommPanel.h"
#include "panel/DataPanelView.h"
#include "panel/PanelControls.h"
#include "serial/halvex32.h"
#include "support/ScriptedPrompts.h"
#include "tools/camsim/CameraModel.h"
#include "tools/camsim/SimServer.h"

#include <gtest/gtest.h>

namespace vistrel::test {
namespace {

class PanelEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        camsim::SimCamera camera;
        std::string error;
        ASSERT_TRUE(camsim::LoadSimCamera(kLinescan, camera, error)) << error;
        m_server = camsim::SimServer::openPty(camsim::CameraModel(camera), error);
        ASSERT_TRUE(m_server) << error;
        m_server->start();
        linkState.LinkKind = kLinkCom2;
        linkState.LinkBaudRate = 9600;
        linkState.ComDevice[1] = m_server->devicePath();
    }
    void TearDown() override { HVX_Disconn(nullptr); }

    static constexpr const char* kLinescan = VISTREL_CAMFILES "/linescan.cam";

    std::unique_ptr<camsim::SimServer> m_server;
    RunValues values;
    PanelState state;
    LinkState linkState;
    PanelRecords records;
    SystemLink link{linkState};
    DataPanelView view;
    ScriptedPrompts prompts;
    CommPanel panel{values, state, linkState, records, link, view, prompts};
};

TEST_F(PanelEndToEnd, ConnectLoadApplyAndChangeReachTheCameraInOrder) {
    panel.LoadCamFileAt(kLinescan);
    panel.OnConnection();
    EXPECT_EQ(records.connection.CameraIdentified, 1);
    EXPECT_EQ(records.connection.ConnectionPaneText, "Connexion on COM2");
    state.ComboBox[0] = 3;
    state.Check[1] = 1;
    state.ListBox[0] = "10";
    panel.ApplyPanel();
    EXPECT_EQ(m_server->lines(),
              (std::vector<std::string>{"ID?", "G=3", "P=20", "B=8", "M=0", "N=1", "Y=1", "I=0", "D=F", "F=0", "X=1",
                                        "K=0", "LED OFF", "E=10", "R=10", "O=0", "H=1.00", "W=0"}));
    EXPECT_EQ(view.statusLine(), "Command accepted");
    EXPECT_EQ(records.PanelApplied, 1);

    // A value the camera refuses: the list goes back, the status line names the error.
    view.select(1024, 3);
    panel.OnComboChanged(1);
    EXPECT_EQ(m_server->lines().back(), "P=80");
    view.setEditText(111, "abc");
    panel.OnApplyList(1);
    EXPECT_EQ(m_server->lines().back(), "R=abc");
    EXPECT_NE(view.statusLine(), "Command accepted");
    EXPECT_EQ(view.get(111).editText, "10");

    // The camera's own report comes back into the panel state.
    state = PanelState{};
    EXPECT_GT(panel.ReadCameraSettings(), 0);
    EXPECT_EQ(state.ComboBox[0], 3);
    EXPECT_EQ(state.ComboBox[1], 3);
    EXPECT_EQ(state.Check[1], 1);
    EXPECT_EQ(state.ListBox[0], "10");

    panel.OnDisconnection();
    EXPECT_EQ(records.connection.StatusPaneText, "Connexion Closed");
}

} // namespace
} // namespace vistrel::test
