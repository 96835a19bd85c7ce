#include "VistrelctlRun.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace vistrel {
namespace {

using test::runVistrelctl;

TEST(VistrelctlPorts, ListsDevicesAndTheLibrarysPorts) {
    const std::string library = std::string(" --library '") + CLSERTEST_PATH + "'";
    test::CtlRun run = runVistrelctl("ports --json" + library);
    EXPECT_EQ(run.exitCode, 0);
    const nlohmann::json json = nlohmann::json::parse(run.out);
    EXPECT_TRUE(json["serial"].is_array());
    for (const auto& device : json["serial"]) {
        EXPECT_EQ(device["path"].get<std::string>().rfind("/dev/", 0), 0u);
    }
    ASSERT_EQ(json["cameraLink"]["ports"].size(), 2u);
    EXPECT_EQ(json["cameraLink"]["ports"][1]["index"], 1);
    EXPECT_EQ(json["cameraLink"]["ports"][1]["name"], "CameraLink Port 1");

    run = runVistrelctl("ports" + library);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("Serial devices:\n"), std::string::npos);
    EXPECT_NE(run.out.find(":\n  CameraLink Port 0\n  CameraLink Port 1\n"), std::string::npos) << run.out;
    EXPECT_NE(runVistrelctl("ports --json").out.find("\"cameraLink\":null"), std::string::npos);

    run = runVistrelctl(std::string("ports --library '") + CLSERTEST_NOCLOSE_PATH + "'", true);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.out.find("Error getting library entry points"), std::string::npos);
    EXPECT_EQ(runVistrelctl("ports --library /no/such/libclser.so").exitCode, 2);
    EXPECT_EQ(runVistrelctl("ports --what").exitCode, 2);
    EXPECT_EQ(runVistrelctl("ports --library").exitCode, 2);
}

// A grabber library whose read never returns: bounded time, exit 2, a message that says why.
TEST(VistrelctlPorts, AGrabberLibraryThatMisbehavesEndsWithExitTwo) {
    const std::string send = std::string("send --library '") + CLSERTEST_BADLOAD_PATH + "' X=1";
    setenv("CLTEST_READ_MODE", "1", 1);
    const auto start = std::chrono::steady_clock::now();
    test::CtlRun run = runVistrelctl(send, true);
    unsetenv("CLTEST_READ_MODE");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.out.find("The grabber library does not respond"), std::string::npos) << run.out;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

} // namespace
} // namespace vistrel
