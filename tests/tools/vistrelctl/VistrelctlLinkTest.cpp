// vistrelctl send and ports, run as the user runs them, against the camera simulator over a
// pseudo-terminal and against the simulated Camera Link library.
#include "VistrelctlRun.h"
#include "support/TempDir.h"
#include "tools/camsim/CameraModel.h"
#include "tools/camsim/SimServer.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <nlohmann/json.hpp>

namespace vistrel {
namespace {

using Json = nlohmann::json;

const char kCam[] = "[Special Cmd]\nCameraIdent=!=0\nCameraConf=!=3\nCameraDefault=!=4\n"
                    "[Receive message]\nString=OK\nNoError=Done\nError0=Refused\nError1=Unknown\nError2=Range\n"
                    "[WaitBetweenChar]\nMilliSec=1\n"
                    "[ComboBox1]\nTitle=Gain\nCharacter=G\nValue1=0\nText1=Low\nValue2=1\nText2=High\n";

using test::CtlRun;

CtlRun vistrelctl(const std::string& arguments, bool withErrors = false) {
    return test::runVistrelctl(arguments, withErrors);
}

class VistrelctlLink : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"CLSERSIM_PORTS", "CLSERSIM_CAM", "CLSERSIM_CAM_1", "CLSERSIM_WRITE_FAIL"}) {
            unsetenv(name);
        }
        m_cam = m_dir.write("gain.cam", kCam);
        m_settings = m_dir.write("vistrel.INI", "[Common]\nCOM Port=1\nBaudRate=19200\n");
    }
    // A simulated camera on a pseudo-terminal.
    void startCamera(camsim::FaultKnobs knobs = {}) {
        camsim::SimCamera camera;
        std::string error;
        ASSERT_TRUE(camsim::LoadSimCamera(m_cam, camera, error)) << error;
        m_server = camsim::SimServer::openPty(camsim::CameraModel(camera, knobs), error);
        ASSERT_TRUE(m_server) << error;
        m_server->start();
    }
    std::string send() const { return "send --settings '" + m_settings + "' "; }

    test::TempDir m_dir;
    std::string m_cam;
    std::string m_settings;
    std::unique_ptr<camsim::SimServer> m_server;
};

TEST_F(VistrelctlLink, SendOverComPrintsTheReplyAndItsMeaning) {
    startCamera();
    CtlRun run = vistrelctl(send() + "--device " + m_server->devicePath() + " --json '!=0'");
    EXPECT_EQ(run.exitCode, 0) << run.out;
    Json json = Json::parse(run.out);
    EXPECT_EQ(json["command"], "!=0");
    EXPECT_EQ(json["result"], 16);
    EXPECT_EQ(json["status"], "Sending & Receipt OK");
    EXPECT_EQ(json["reply"], "CamSim gain\r>OK\r");
    EXPECT_TRUE(json["interpretation"].is_null());
    EXPECT_EQ(json.size(), 5u);

    run = vistrelctl(send() + "--device " + m_server->devicePath() + " --cam '" + m_cam + "' --json G=7");
    EXPECT_EQ(run.exitCode, 0) << run.out;
    json = Json::parse(run.out);
    EXPECT_EQ(json["reply"], ">2\r");
    EXPECT_EQ(json["interpretation"]["acknowledged"], false);
    EXPECT_EQ(json["interpretation"]["errorNumber"], 2);
    EXPECT_EQ(json["interpretation"]["text"], "Range");

    run = vistrelctl(send() + "--device " + m_server->devicePath() + " --cam '" + m_cam + "' G=1");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, ">OK\\r\nresult: 4\nstatus: Sending & Receipt OK\ninterpretation: Done\n");
    EXPECT_EQ(m_server->valueOf('G'), "1");
    EXPECT_EQ(m_server->lines(), (std::vector<std::string>{"!=0", "G=7", "G=1"}));
}

TEST_F(VistrelctlLink, SendOverComReportsFailuresByExitCode) {
    camsim::FaultKnobs garbage;
    garbage.answer = camsim::FaultKnobs::Answer::Garbage;
    startCamera(garbage);
    CtlRun run = vistrelctl(send() + "--device " + m_server->devicePath() + " X");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("status: Acknowledge error"), std::string::npos) << run.out;

    run = vistrelctl(send() + "--device '" + m_dir.path() + "no-such-tty' X", true);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.out.find("Error On Opening Communication"), std::string::npos) << run.out;

    // The mapping of the settings file names the device.
    m_settings =
        m_dir.write("mapped.INI", "[Common]\nCOM Port=2\n[Serial Devices]\nCOM2=" + m_server->devicePath() + "\n");
    run = vistrelctl(send() + "--json '!=0'");
    EXPECT_EQ(run.exitCode, 1); // reached the garbling camera
    EXPECT_EQ(Json::parse(run.out)["status"], "Acknowledge error");

    for (const char* wrong : {"", "--link com3 X", "--baud fast X", "--delay 500 X", "--port 1 --device /dev/null X",
                              "--bogus X", "A B", "--settings /no/such.INI X"}) {
        EXPECT_EQ(vistrelctl(std::string("send ") + wrong).exitCode, 2) << wrong;
    }
}

TEST_F(VistrelctlLink, SendOverCameraLinkUsesTheSimulatedGrabber) {
    setenv("CLSERSIM_PORTS", "2", 1);
    setenv("CLSERSIM_CAM_1", m_cam.c_str(), 1);
    const std::string library = std::string(" --library '") + CLSERSIM_PATH + "' ";
    CtlRun run = vistrelctl(send() + library + "--port 1 --cam '" + m_cam + "' G=1");
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(run.out, ">OK\\r\nresult: 4\nstatus: Sending & Receive OK\ninterpretation: Done\n");

    run = vistrelctl(send() + library + "--port 0 --json '!=0'");
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(Json::parse(run.out)["reply"], "CamSim\r>OK\r");

    run = vistrelctl(send() + library + "--port 5 X", true);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.out.find("Connexion Error"), std::string::npos) << run.out;

    run = vistrelctl(send() + "--library '" + m_dir.path() + "libclsernone.so' X", true);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.out.find("Error opening the CameraLink library"), std::string::npos) << run.out;

    // Camera Link as the settings file chooses it.
    m_settings = m_dir.write("cl.INI", std::string("[Common]\nCOM Port=3\nCameraLink DLL=") + CLSERSIM_PATH +
                                           "\nCameraLink Port=1\n");
    setenv("CLSERSIM_WRITE_FAIL", "1", 1);
    run = vistrelctl(send() + "--json G=1");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(Json::parse(run.out)["status"], "Error Sending Data");
}

} // namespace
} // namespace vistrel
