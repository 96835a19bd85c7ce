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

} // namespace
} // namespace vistrel
