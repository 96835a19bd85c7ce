// The program's link end to end: Halvex32 on the device a COM port is mapped to (the camera
// simulator on a pseudo-terminal), and the simulated grabber library's channel.
#include "link/SystemLink.h"
#include "link/CameraLinkLibrary.h"
#include "support/ScriptedPrompts.h"
#include "tools/camsim/SimServer.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace vistrel {
namespace {

TEST(SystemLink, ComTwoReachesTheDeviceItIsMappedTo) {
    std::string error;
    const auto server = camsim::SimServer::openPty(camsim::CameraModel(camsim::GainOnlyCamera()), error);
    ASSERT_TRUE(server) << error;
    server->start();

    LinkState state;
    state.LinkKind = kLinkCom2;
    state.LinkBaudRate = 19200;
    state.ComDevice[0] = "/nonexistent/com1";
    state.ComDevice[1] = server->devicePath();
    SystemLink link(state);
    LinkResult opened = link.open();
    EXPECT_EQ(opened.result, 1);
    EXPECT_EQ(opened.status, "Connection OK");

    const LinkResult sent = link.exchange("G=2", 0);
    EXPECT_EQ(sent.result, 4);
    EXPECT_EQ(sent.status, "Sending & Receipt OK");
    EXPECT_EQ(sent.reply, ">OK\r");
    EXPECT_STREQ(state.ReplyBuffer, ">OK\r");
    EXPECT_STREQ(state.LinkStatusText, "Sending & Receipt OK");
    EXPECT_EQ(server->valueOf('G'), "2");

    EXPECT_EQ(link.close().status, "Connexion Closed");
    const LinkResult again = link.close();
    EXPECT_EQ(again.result, 0);
    EXPECT_EQ(again.status, "No Connexion to Close");
    const LinkResult unconnected = link.exchange("G=1", 0);
    EXPECT_EQ(unconnected.result, 0);
    EXPECT_EQ(unconnected.reply, "");

    // COM1 is mapped to a device that is not there.
    state.LinkKind = kLinkCom1;
    opened = link.open();
    EXPECT_EQ(opened.result, 0);
    EXPECT_EQ(opened.status, "Error On Opening Communication");
    EXPECT_EQ(server->lines(), std::vector<std::string>{"G=2"});
}

TEST(SystemLink, CameraLinkClosesOnlyAnOpenChannel) {
    setenv("CLSERSIM_PORTS", "2", 1);
    LinkState state;
    test::ScriptedPrompts prompts;
    ASSERT_EQ(LoadCameraLinkLibrary(state, prompts, CLSERSIM_PATH), CameraLinkLoad::Bound);
    state.LinkKind = kLinkCameraLink;
    state.CameraLinkPort = 1;
    SystemLink link(state);

    EXPECT_EQ(link.close().status, "Connexion Closed"); // nothing open: nothing reaches the library
    LinkResult opened = link.open();
    EXPECT_EQ(opened.result, 1);
    EXPECT_EQ(opened.status, "Connexion OK");
    const LinkResult sent = link.exchange("!=0", 75);
    EXPECT_EQ(sent.result, 11);
    EXPECT_EQ(sent.reply, "CamSim\r>OK\r");
    EXPECT_EQ(sent.status, "Sending & Receive OK");
    EXPECT_EQ(link.close().result, 1);
    EXPECT_EQ(link.close().status, "Connexion Closed");

    // The port was given back: it opens again. A port the library lacks does not.
    EXPECT_EQ(link.open().result, 1);
    link.close();
    state.CameraLinkPort = 2;
    opened = link.open();
    EXPECT_EQ(opened.result, 0);
    EXPECT_EQ(opened.status, "Connexion Error");
    const LinkResult refused = link.exchange("!=0", 0);
    EXPECT_EQ(refused.result, -1);
    EXPECT_EQ(refused.status, "No Connexion");
    ReleaseCameraLinkLibrary(state, prompts);
    EXPECT_TRUE(prompts.shown.empty());
}

} // namespace
} // namespace vistrel
