// vistrelctl save-settings, verify and batch against camera simulators on pseudo-terminals.
#include "support/TempDir.h"
#include "tools/camsim/CameraModel.h"
#include "tools/camsim/Ser2netFront.h"
#include "tools/camsim/SimServer.h"
#include "tools/vistrelctl/VistrelctlRun.h"

#include <chrono>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

namespace vistrel::test {
namespace {

using Json = nlohmann::json;

const char kCam[] = "[Special Cmd]\nCameraIdent=ID?\nCameraConf=CFG?\n"
                    "[Receive message]\nString=OK\nNoError=Done\nError0=Refused\nError2=Range\n"
                    "[WaitBetweenChar]\nMilliSec=0\n"
                    "[ComboBox1]\nTitle=Gain\nCharacter=G\nValue1=0\nText1=Low\nValue2=1\nText2=High\n"
                    "[Check1]\nTitle=Invert\nCharacter=T\nValue1=0\nValue2=1\n"
                    "[ListBox1]\nTitle=Exposure\nCharacter=E\nValue1=100\nValue2=200\n";

class VistrelctlVerify : public ::testing::Test {
protected:
    void SetUp() override {
        m_cam = m_dir.write("gain.cam", kCam);
        m_settings = m_dir.write("vistrel.INI", "[Common]\nCOM Port=1\n");
        for (int i = 0; i < 3; ++i) {
            addCamera(i == 2 ? "Other" : "CamSim");
        }
    }
    void addCamera(const std::string& model, camsim::FaultKnobs knobs = {}) {
        camsim::SimCamera camera;
        std::string error;
        ASSERT_TRUE(camsim::LoadSimCamera(m_cam, camera, error)) << error;
        camera.modelLine = model;
        m_servers.push_back(camsim::SimServer::openPty(camsim::CameraModel(camera), error));
        ASSERT_TRUE(m_servers.back()) << error;
        m_servers.back()->setKnobs(knobs);
        m_servers.back()->start();
    }
    std::string link(std::size_t camera) const {
        return "--device '" + m_servers[camera]->devicePath() + "' --cam '" + m_cam + "'";
    }
    CtlRun run(const std::string& command, std::size_t camera, const std::string& more = {}) {
        return runVistrelctl(command + " " + link(camera) + " " + more);
    }

    TempDir m_dir;
    std::string m_cam;
    std::string m_settings;
    std::vector<std::unique_ptr<camsim::SimServer>> m_servers;
};

TEST_F(VistrelctlVerify, SavedCameraVerifiesUntilChangedAndOtherCamerasAreRefused) {
    const std::string vcs = m_dir.path() + "good.vcs";
    ASSERT_EQ(run("save-settings", 0, "--settings '" + m_settings + "' --out '" + vcs + "'").exitCode, 0);
    const std::string settings = "--settings '" + vcs + "'";

    CtlRun verified = run("verify --json", 0, settings);
    EXPECT_EQ(verified.exitCode, 0) << verified.out;
    std::vector<Json> lines = jsonLines(verified.out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], Json::parse(R"({"control":"ListBox1","caption":"Exposure","key":"E","expected":"100",)"
                                    R"("camera":"100","same":true})"));
    EXPECT_EQ(lines[3], Json::parse(R"({"verified":true,"controls":3,"differ":0})"));
    EXPECT_EQ(m_servers[0]->lines().back(), "CFG?") << "nothing is sent but the identification and the query";

    ASSERT_EQ(runVistrelctl("send --device '" + m_servers[0]->devicePath() + "' T=1").exitCode, 0);
    verified = run("verify --json", 0, settings);
    EXPECT_EQ(verified.exitCode, 1);
    lines = jsonLines(verified.out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1]["control"], "Check1");
    EXPECT_EQ(lines[1]["camera"], "1");
    EXPECT_EQ(lines[1]["same"], false);
    EXPECT_EQ(lines[3]["differ"], 1);

    EXPECT_EQ(run("apply", 0, settings).exitCode, 0);
    EXPECT_EQ(run("verify", 0, settings).exitCode, 0);

    // Another camera: refused by verify and apply unless --any-camera; a file that is no settings
    // file, or a description that cannot be read, cannot be checked.
    const CtlRun refused = runVistrelctl("verify " + link(2) + " " + settings, true);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.out.find("settings are for CamSim, this camera is Other"), std::string::npos) << refused.out;
    EXPECT_EQ(run("apply", 2, settings).exitCode, 2);
    EXPECT_EQ(m_servers[2]->lines(), (std::vector<std::string>{"ID?", "ID?"}));
    EXPECT_EQ(run("verify", 2, settings + " --any-camera").exitCode, 0);
    EXPECT_EQ(run("verify", 0, "--settings '" + m_settings + "'").exitCode, 2);
    EXPECT_EQ(runVistrelctl("verify --device /dev/null --cam nowhere.cam " + settings).exitCode, 2);
}

TEST_F(VistrelctlVerify, BatchRunsEveryTargetAsideFromTheOthers) {
    camsim::FaultKnobs slow;
    slow.answerDelay = std::chrono::seconds(4);
    addCamera("CamSim", slow);
    const std::string vcs = m_dir.path() + "good.vcs";
    ASSERT_EQ(run("save-settings", 0, "--settings '" + m_settings + "' --out '" + vcs + "'").exitCode, 0);
    ASSERT_EQ(run("apply", 1, "--settings '" + vcs + "'").exitCode, 0);
    ASSERT_EQ(runVistrelctl("send --device '" + m_servers[1]->devicePath() + "' G=1").exitCode, 0);
    const std::string gone = m_servers[2]->devicePath();
    m_servers[2]->stop();
    m_servers[2].reset();
    const std::string settings = "--settings \"" + vcs + "\"";
    const std::string targets =
        m_dir.write("targets", "# station  device\n" + link(0) + " " + settings + "\n\n" + link(1) + " " + settings +
                                   "  # changed\n--device " + gone + " --cam '" + m_cam + "' " + settings + "\n" +
                                   link(3) + " " + settings + "\n--cam 'unterminated\n");

    const auto started = std::chrono::steady_clock::now();
    const CtlRun batch = runVistrelctl("batch verify --json --timeout 2 --targets '" + targets + "'");
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(batch.exitCode, 2);
    EXPECT_LT(took, std::chrono::milliseconds(3500)) << "the slow target is stopped at its time limit";
    std::map<int, std::vector<Json>> byTarget;
    for (const Json& line : jsonLines(batch.out)) {
        byTarget[line.value("target", 0)].push_back(line);
    }
    EXPECT_EQ(byTarget[2].back(), Json::parse(R"({"target":2,"verified":true,"controls":3,"differ":0})"));
    EXPECT_EQ(byTarget[4][0]["control"], "ComboBox1");
    EXPECT_EQ(byTarget[4][0]["same"], false);
    EXPECT_EQ(byTarget[4].back()["differ"], 1);
    EXPECT_TRUE(byTarget[5].back().contains("error")) << batch.out;
    EXPECT_EQ(byTarget[6].back()["error"], "stopped after 2 s without ending");
    EXPECT_NE(byTarget[7].back()["error"].get<std::string>().find("unterminated"), std::string::npos);
    EXPECT_EQ(byTarget[0].back(), Json::parse(R"({"targets":5,"ok":1,"differ":1,"failed":3})"));
}

// Cameras at remote stations, each behind a ser2net of its own: the batch verifies them over the
// network as it does on local lines.
TEST_F(VistrelctlVerify, BatchVerifiesCamerasBehindSer2net) {
    const std::string vcs = m_dir.path() + "good.vcs";
    ASSERT_EQ(run("save-settings", 0, "--settings '" + m_settings + "' --out '" + vcs + "'").exitCode, 0);
    ASSERT_EQ(runVistrelctl("send --device '" + m_servers[1]->devicePath() + "' T=1").exitCode, 0);
    std::vector<std::unique_ptr<camsim::Ser2netFront>> stations;
    std::string targets;
    for (const auto& server : m_servers) {
        stations.push_back(std::make_unique<camsim::Ser2netFront>(server->devicePath()));
        ASSERT_TRUE(stations.back()->ok()) << stations.back()->error();
        targets += "--device " + stations.back()->url() + " --cam '" + m_cam + "' --settings '" + vcs + "'\n";
    }
    const CtlRun batch = runVistrelctl("batch verify --json --targets '" + m_dir.write("targets", targets) + "'");
    EXPECT_EQ(batch.exitCode, 2) << batch.out; // the third camera is another model
    const std::vector<Json> lines = jsonLines(batch.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), Json::parse(R"({"targets":3,"ok":1,"differ":1,"failed":1})")) << batch.out;
    EXPECT_EQ(m_servers[1]->lines().back(), "CFG?");
}

} // namespace
} // namespace vistrel::test
