// vistrelctl apply and read-settings, run as a test bench runs them, against the camera simulator
// on a pseudo-terminal and the simulated Camera Link library.
#include "support/TempDir.h"
#include "tools/camsim/CameraModel.h"
#include "tools/camsim/Ser2netFront.h"
#include "tools/camsim/SimServer.h"
#include "tools/vistrelctl/VistrelctlRun.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

namespace vistrel::test {
namespace {

using Json = nlohmann::json;

const char kCam[] = "[Special Cmd]\nCameraIdent=ID?\nCameraConf=CFG?\nCameraDefault=RST\n"
                    "[Receive message]\nString=OK\nNoError=Done\nError0=Refused\nError1=Unknown\nError2=Range\n"
                    "[WaitBetweenChar]\nMilliSec=0\n"
                    "[ComboBox1]\nCharacter=G\nValue1=0\nText1=Low\nValue2=1\nText2=High\n"
                    "[Check1]\nCharacter=T\nValue1=0\nValue2=1\n"
                    "[ListBox1]\nCharacter=E\nValue1=100\nValue2=200\n";

class VistrelctlApply : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("CLSERSIM_WRITE_FAIL");
        m_cam = m_dir.write("gain.cam", kCam);
        camsim::SimCamera camera;
        std::string error;
        ASSERT_TRUE(camsim::LoadSimCamera(m_cam, camera, error)) << error;
        camera.controls[0].startValue = "1";
        m_server = camsim::SimServer::openPty(camsim::CameraModel(camera), error);
        ASSERT_TRUE(m_server) << error;
        m_server->start();
        m_settings = m_dir.write("vistrel.INI", "[Common]\nCOM Port=2\nCamera File=old.cam\n"
                                                "[Last use]\nComboBox1=0\nCheck1=1\nListBox1=150\nXpos=33\n"
                                                "[Serial Devices]\nCOM2=" +
                                                    m_server->devicePath() + "\n");
    }
    CtlRun run(const std::string& command, bool withErrors = false) {
        return runVistrelctl(command + " --settings '" + m_settings + "' --cam '" + m_cam + "'", withErrors);
    }

    TempDir m_dir;
    std::string m_cam;
    std::string m_settings;
    std::unique_ptr<camsim::SimServer> m_server;
};

TEST_F(VistrelctlApply, EachInitialisationSendsWhatTheProgramSends) {
    CtlRun result = run("apply --json");
    ASSERT_EQ(result.exitCode, 0) << result.out;
    EXPECT_EQ(m_server->lines(), (std::vector<std::string>{"ID?", "G=0", "T=1", "E=150"}));
    std::vector<Json> lines = jsonLines(result.out);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0]["step"], "identify");
    EXPECT_TRUE(lines[0]["shown"].is_null());
    EXPECT_EQ(lines[1]["step"], "ComboBox1");
    EXPECT_EQ(lines[1]["command"], "G=0");
    EXPECT_EQ(lines[1]["reply"], ">OK\r");
    EXPECT_EQ(lines[1]["shown"], "Done");
    EXPECT_EQ(lines[1]["accepted"], true);
    EXPECT_EQ(lines[3]["step"], "ListBox1");
    EXPECT_EQ(lines[4]["identified"], true);
    EXPECT_EQ(lines[4]["panelState"]["ListBox1"], 150);

    // From the camera: the report sets the panel state, which is sent back.
    result = run("apply --from camera --json");
    ASSERT_EQ(result.exitCode, 0) << result.out;
    const std::vector<std::string> fromCamera = {"ID?", "CFG?", "G=0", "T=1", "E=150"};
    std::vector<std::string> sent = m_server->lines();
    EXPECT_EQ(std::vector<std::string>(sent.end() - 5, sent.end()), fromCamera);
    // Factory settings first: the camera's start values come back.
    result = run("apply --from factory --save");
    ASSERT_EQ(result.exitCode, 0) << result.out;
    sent = m_server->lines();
    EXPECT_EQ(std::vector<std::string>(sent.end() - 6, sent.end()),
              (std::vector<std::string>{"ID?", "RST", "CFG?", "G=1", "T=0", "E=100"}));
    // The save keeps the window entries and the camera file, which is not among the program's.
    const std::string saved = m_dir.read("vistrel.INI");
    EXPECT_NE(saved.find("ComboBox1=1\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("ListBox1=100\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Xpos=33\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Camera File=old.cam\n"), std::string::npos) << saved;
}

TEST_F(VistrelctlApply, TheSampleCamerasReportedAndSavedListValuesGoBackAsTheyWere) {
    camsim::SimCamera camera;
    std::string error;
    m_cam = VISTREL_CAMFILES "/linescan.cam";
    ASSERT_TRUE(camsim::LoadSimCamera(m_cam, camera, error)) << error;
    m_server = camsim::SimServer::openPty(camsim::CameraModel(camera), error);
    ASSERT_TRUE(m_server) << error;
    m_server->start();
    m_dir.write("vistrel.INI", "[Common]\nCOM Port=2\n[Serial Devices]\nCOM2=" + m_server->devicePath() + "\n");
    for (const char* from : {"camera", "ini"}) {
        ASSERT_EQ(run(std::string("apply --save --from ") + from).exitCode, 0) << from;
        const std::vector<std::string> sent = m_server->lines();
        EXPECT_EQ(std::vector<std::string>(sent.end() - 5, sent.end()),
                  (std::vector<std::string>{"E=5", "R=10", "O=0", "H=1.00", "W=0"}));
        EXPECT_NE(m_dir.read("vistrel.INI").find("ListBox1=5\nListBox2=10\nListBox3=0\nListBox4=1.00\n"),
                  std::string::npos);
    }
}

TEST_F(VistrelctlApply, RefusalsAndFailuresGiveTheirExitCodes) {
    // The description says 9 where the camera knows only 0 and 1: refused, and the rest still sent.
    std::string other = kCam;
    other.replace(other.find("Value1=0\nText1=Low"), 8, "Value1=9");
    m_cam = m_dir.write("other.cam", other);
    CtlRun result = run("apply --json");
    EXPECT_EQ(result.exitCode, 1) << result.out;
    const std::vector<Json> lines = jsonLines(result.out);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1]["command"], "G=9");
    EXPECT_EQ(lines[1]["shown"], "Range");
    EXPECT_EQ(lines[1]["result"], 0);
    EXPECT_EQ(lines[1]["accepted"], false);
    EXPECT_EQ(lines[3]["accepted"], true);

    // read-settings sends only the query and prints the state.
    result = run("read-settings");
    EXPECT_EQ(result.exitCode, 0) << result.out;
    EXPECT_NE(result.out.find("ListBox1=150"), std::string::npos) << result.out;
    EXPECT_EQ(m_server->lines().back(), "CFG?");

    // No description, no link, a wrong command line: exit 2 with nothing sent.
    const std::size_t sent = m_server->lines().size();
    m_cam = m_dir.path() + "none.cam";
    EXPECT_EQ(run("apply").exitCode, 2);
    m_cam = m_dir.path() + "gain.cam";
    EXPECT_EQ(run("apply --from nowhere").exitCode, 2);
    EXPECT_EQ(run("apply extra").exitCode, 2);
    EXPECT_EQ(run("apply --device '" + m_dir.path() + "no-such-tty'").exitCode, 2);
    EXPECT_EQ(m_server->lines().size(), sent);

    // A settings query that fails: its message on the error stream, exit 1.
    camsim::FaultKnobs knobs;
    knobs.answer = camsim::FaultKnobs::Answer::Garbage;
    m_server->setKnobs(knobs);
    result = run("read-settings", true);
    EXPECT_EQ(result.exitCode, 1) << result.out;
    EXPECT_NE(result.out.find("Error : Camera settings"), std::string::npos) << result.out;
}

// COM2 mapped to a station's ser2net: the camera receives what a local line sends it, in order.
TEST_F(VistrelctlApply, ThroughSer2netAsOnALocalLine) {
    const CtlRun local = run("apply --from camera --json");
    ASSERT_EQ(local.exitCode, 0) << local.out;
    const std::vector<std::string> sent = m_server->lines();
    camsim::Ser2netFront ser2net(m_server->devicePath());
    ASSERT_TRUE(ser2net.ok()) << ser2net.error();
    m_settings = m_dir.write("vistrel.INI", "[Common]\nCOM Port=2\n[Serial Devices]\nCOM2=" + ser2net.url() + "\n");
    const CtlRun remote = run("apply --from camera --json");
    EXPECT_EQ(remote.exitCode, 0);
    EXPECT_EQ(remote.out, local.out);
    const std::vector<std::string> all = m_server->lines();
    EXPECT_EQ(std::vector<std::string>(all.begin() + static_cast<long>(sent.size()), all.end()), sent);
}

TEST_F(VistrelctlApply, AGarblingCameraShowsTheLinksStatusNeitherSuccessNorRefusal) {
    camsim::FaultKnobs knobs;
    knobs.answer = camsim::FaultKnobs::Answer::Garbage;
    m_server->setKnobs(knobs);
    // With an acknowledge text and without one (minimal.cam has none): the same failure.
    for (const std::string& cam : std::vector<std::string>{m_cam, VISTREL_CAMFILES "/minimal.cam"}) {
        m_cam = cam;
        const std::vector<Json> lines = jsonLines(run("apply --json").out);
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[1]["shown"], "Acknowledge error") << cam;
        EXPECT_EQ(lines[1]["result"], -2) << cam;
    }
}

TEST_F(VistrelctlApply, OverCameraLinkThroughTheSimulatedGrabberLibrary) {
    setenv("CLSERSIM_PORTS", "2", 1);
    setenv("CLSERSIM_CAM_1", m_cam.c_str(), 1);
    const CtlRun result = run(std::string("apply --json --library '") + CLSERSIM_PATH + "' --port 1");
    ASSERT_EQ(result.exitCode, 0) << result.out;
    const std::vector<Json> lines = jsonLines(result.out);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0]["reply"].get<std::string>().find(">OK\r") != std::string::npos, true);
    EXPECT_EQ(lines[2]["command"], "T=1");
    EXPECT_EQ(lines[2]["status"], "Sending & Receive OK");
    EXPECT_EQ(lines[4]["connected"].get<std::string>().substr(0, 6), "CamSim");
}

// The transcript: one open, one exchange per command the camera received with the same bytes and
// reply, one close. A camera that hangs up after its second answer: the exchange that meets the
// loss (the second, when the hang-up drops its answer, or the third) ends with a lost row, nothing
// more and exit 2.
TEST_F(VistrelctlApply, TranscriptHoldsEveryOperationAndALossEndsTheJob) {
    for (const int hangUpAfter : {0, 2}) {
        camsim::FaultKnobs knobs; // the camera counts the commands of both runs
        const std::size_t before = m_server->lines().size();
        knobs.hangUpAfter = hangUpAfter == 0 ? 0 : static_cast<int>(before) + hangUpAfter;
        m_server->setKnobs(knobs);
        const std::string file = m_dir.path() + "out" + std::to_string(hangUpAfter) + ".jsonl";
        const CtlRun result = run("apply --transcript '" + file + "'");
        EXPECT_EQ(result.exitCode, hangUpAfter == 0 ? 0 : 2) << result.out;
        std::vector<Json> rows = jsonLines(m_dir.read("out" + std::to_string(hangUpAfter) + ".jsonl"));
        const std::vector<std::string> sent = m_server->lines();
        ASSERT_GE(rows.size(), 4u) << result.out;
        EXPECT_EQ(rows.front()["op"], "open");
        EXPECT_EQ(rows.front()["link"], "COM2 " + m_server->devicePath() + " 9600 bd");
        EXPECT_EQ(rows[1]["reply"], "CamSim gain\r>OK\r");
        EXPECT_EQ(rows.back()["op"], hangUpAfter == 0 ? "close" : "lost");
        EXPECT_EQ(rows.back().size(), 6u);
        std::vector<std::string> answered;
        for (std::size_t i = 1; i + 1 < rows.size(); ++i) {
            EXPECT_EQ(rows[i]["op"], "exchange");
            EXPECT_EQ(rows[i].size(), 8u);
            const bool lost = rows[i]["status"] == "Connexion lost";
            EXPECT_EQ(lost, hangUpAfter != 0 && i + 2 == rows.size()) << i;
            if (!lost) {
                answered.push_back(rows[i]["command"]);
            }
        }
        EXPECT_EQ(answered.size(), hangUpAfter == 0 ? 4u : rows.size() - 3);
        EXPECT_EQ(answered,
                  std::vector<std::string>(sent.begin() + static_cast<std::ptrdiff_t>(before),
                                           sent.begin() + static_cast<std::ptrdiff_t>(before + answered.size())));
    }
}

} // namespace
} // namespace vistrel::test
