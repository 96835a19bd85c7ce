#include "tools/vistrelctl/LinkOptions.h"
#include "support/TempDir.h"
#include "tools/camsim/SimServer.h"
#include "tools/vistrelctl/VistrelctlRun.h"

#include <gtest/gtest.h>

namespace vistrel {
namespace {

// One exchange is one command: a CR or LF inside it would put a second command on the wire whose
// answer is never read, so "send" refuses it before opening any link.
TEST(LinkOptions, SendRefusesACommandHoldingALineBreak) {
    test::TempDir dir;
    const std::string settings = dir.write("vistrel.INI", "[Common]\nCOM Port=1\n");
    for (const char* command : {"G=1\rG=2", "G=1\n", "G=1\r\n", "\r"}) {
        std::string error;
        EXPECT_FALSE(ctl::parseSendOptions({"--settings", settings, command}, error).has_value());
        EXPECT_NE(error.find("line break"), std::string::npos) << error;
    }
    std::string error;
    const auto plain = ctl::parseSendOptions({"--settings", settings, "G=1"}, error);
    ASSERT_TRUE(plain.has_value()) << error;
    EXPECT_EQ(plain->command, "G=1");

    // As the user runs it: exit code 2, the reason on the terminal, nothing sent to the camera.
    camsim::SimCamera camera;
    camera.controls = {{camsim::SimControl::Kind::List, "G", {}, "0"}};
    std::string serverError;
    auto server = camsim::SimServer::openPty(camsim::CameraModel(camera), serverError);
    ASSERT_TRUE(server) << serverError;
    server->start();
    const test::CtlRun run = test::runVistrelctl(
        "send --settings '" + settings + "' --device " + server->devicePath() + " 'G=1\rG=2'", true);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.out.find("line break"), std::string::npos) << run.out;
    EXPECT_FALSE(server->waitForLines(1, std::chrono::milliseconds(200)));
    server->stop();
}

// Which link and which device a run uses: the typed options over the settings file's, without the
// file system. An empty `error` means the options are taken.
TEST(LinkOptions, TypedOptionsOverTheSettingsChooseTheLink) {
    StartupSettings com2;
    com2.found = true;
    com2.link.linkKind = kLinkCom2;
    com2.link.comDevice[1] = "/dev/ttyUSB1";
    com2.link.cameraLinkLibrary = "/opt/cl.so";
    StartupSettings cameraLink = com2;
    cameraLink.link.linkKind = kLinkCameraLink;
    cameraLink.link.cameraLinkPort = 2;
    StartupSettings unread = com2;
    unread.found = false;
    const struct {
        std::vector<std::string> args;
        const StartupSettings& saved;
        int kind;
        std::string device;
        std::string error;
    } cases[] = {
        {{}, com2, kLinkCom2, "/dev/ttyUSB1", ""},
        {{}, unread, kLinkCom1, "/dev/ttyS0", ""},
        {{"--device", "/dev/x"}, com2, kLinkCom2, "/dev/x", ""},
        {{"--device", "/dev/x"}, cameraLink, kLinkCom1, "/dev/x", ""},
        {{"--link", "com1"}, com2, kLinkCom1, "/dev/ttyS0", ""},
        {{"--port", "1"}, com2, kLinkCameraLink, "", ""},
        {{"--link", "cameralink", "--device", "/dev/x"}, com2, 0, "", "--device is for a COM link"},
        {{"--link", "com2", "--port", "1"}, cameraLink, 0, "", "--library and --port are for a Camera Link"},
        {{"--port", "1"}, unread, 0, "", "no Camera Link library"},
        {{"--link", "com3"}, com2, 0, "", "--link takes com1, com2 or cameralink"},
        {{"--baud", "0"}, com2, 0, "", "--baud takes a positive number"},
        {{"--port", "-1"}, cameraLink, 0, "", "--port takes a port index"},
        {{"--delay", "201"}, com2, 0, "", "--delay takes milliseconds from 0 to 200"},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto typed = ctl::tokeniseLinkOptions(c.args, {}, {}, error);
        ASSERT_TRUE(typed) << error;
        const auto options = ctl::validateLinkOptions(*typed, c.saved, error);
        const std::string shown = c.args.empty() ? "(none)" : c.args[0] + " " + c.args[1];
        if (!c.error.empty()) {
            EXPECT_FALSE(options) << shown;
            EXPECT_EQ(error.rfind(c.error, 0), 0U) << shown << ": " << error;
            continue;
        }
        ASSERT_TRUE(options) << shown << ": " << error;
        EXPECT_EQ(options->linkKind, c.kind) << shown;
        if (c.kind != kLinkCameraLink) {
            EXPECT_EQ(options->device, c.device) << shown;
        } else {
            EXPECT_EQ(options->library, "/opt/cl.so") << shown;
        }
    }
}

} // namespace
} // namespace vistrel
