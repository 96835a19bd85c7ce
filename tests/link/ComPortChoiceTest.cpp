#include "link/ComPortChoice.h"
#include "ClserTestControl.h"
#include "link/CameraLinkLibrary.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

namespace vistrel {
namespace {

TEST(ComPortChoice, PreselectionAndBaudRateRules) {
    LinkState link;
    link.LinkKind = kLinkCom2;
    EXPECT_EQ(PreselectedComPortIndex(link), 1);
    link.LinkKind = kLinkCameraLink;
    EXPECT_EQ(PreselectedComPortIndex(link), 0);

    link.LinkBaudRate = 19200;
    EXPECT_EQ(BaudRateIndexOnOpening(link), 1);
    EXPECT_EQ(link.LinkBaudRate, 19200);
    link.LinkBaudRate = 57600;
    EXPECT_EQ(BaudRateIndexOnOpening(link), 0);
    EXPECT_EQ(link.LinkBaudRate, 9600);
    link.LinkBaudRate = 0;
    EXPECT_EQ(BaudRateIndexOnOpening(link), 0);
    EXPECT_EQ(link.LinkBaudRate, 9600);

    EXPECT_EQ(BaudRateOfIndex(2), 38400);
    EXPECT_EQ(BaudRateOfIndex(-1), 9600);
    EXPECT_EQ(BaudRateOfIndex(3), 9600);
}

TEST(ComPortChoice, ConfirmingLeavesCameraLinkAndReleasesItsLibrary) {
    test::ClserTestControl control(CLSERTEST_PATH);
    LinkState link;
    test::ScriptedPrompts prompts;
    ASSERT_EQ(LoadCameraLinkLibrary(link, prompts, CLSERTEST_PATH), CameraLinkLoad::Bound);
    link.LinkKind = kLinkCameraLink;
    ApplyComPortChoice(link, prompts, 1);
    EXPECT_EQ(link.LinkKind, kLinkCom2);
    EXPECT_EQ(link.SettingsChanged, 1);
    EXPECT_FALSE(link.CameraLinkLibrary.loaded());
    ApplyComPortChoice(link, prompts, 0);
    EXPECT_EQ(link.LinkKind, kLinkCom1);
    EXPECT_TRUE(prompts.shown.empty());

    link.ComDevice[1] = "/dev/ttyUSB3";
    link.ComDevice[0].clear();
    EXPECT_EQ(ComDeviceOf(link, 1), "/dev/ttyS0");
    EXPECT_EQ(ComDeviceOf(link, 2), "/dev/ttyUSB3");
}

} // namespace
} // namespace vistrel
