#include <gtest/gtest.h>

#include <filesystem>

#include "tools/camsim/CameraModel.h"

namespace vistrel::camsim {
namespace {

std::string demoPath() {
    return VISTREL_TEST_DATA "/serial/demo.cam";
}

std::string bytesOf(const Response& response) {
    std::string bytes;
    for (const TimedBytes& piece : response.pieces)
        bytes += piece.bytes;
    return bytes;
}

CameraModel demoModel(FaultKnobs knobs = {}) {
    SimCamera camera;
    std::string error;
    EXPECT_TRUE(LoadSimCamera(demoPath(), camera, error)) << error;
    return CameraModel(camera, knobs);
}

TEST(CameraModelTest, LoadsTheDescription) {
    SimCamera camera;
    std::string error;
    ASSERT_TRUE(LoadSimCamera(demoPath(), camera, error)) << error;
    EXPECT_EQ(camera.identCommand, "!=0");
    EXPECT_EQ(camera.configCommand, "!=3");
    EXPECT_EQ(camera.factoryCommand, "!=4");
    EXPECT_EQ(camera.ackText, "OK");
    EXPECT_EQ(camera.modelLine, "CamSim demo");
    EXPECT_EQ(camera.errorNumbers, (std::vector<int>{0, 1, 2}));
    ASSERT_EQ(camera.controls.size(), 3u);
    EXPECT_EQ(camera.controls[0].character, "G");
    EXPECT_EQ(camera.controls[0].allowed, (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(camera.controls[1].allowed, (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(camera.controls[2].kind, SimControl::Kind::List);
    EXPECT_EQ(camera.controls[2].startValue, "100");

    SimCamera untouched = camera;
    EXPECT_FALSE(LoadSimCamera("/no/such/file.cam", camera, error));
    EXPECT_NE(error.find("/no/such/file.cam"), std::string::npos);
    EXPECT_EQ(camera.controls.size(), untouched.controls.size());
}

TEST(CameraModelTest, AnswersCommandsValuesAndSpecialCommands) {
    CameraModel model = demoModel();
    EXPECT_EQ(bytesOf(model.receive("!=0\r")), "CamSim demo\r>OK\r");
    EXPECT_EQ(bytesOf(model.receive("G=1\r")), ">OK\r");
    EXPECT_EQ(bytesOf(model.receive("G=7\r")), ">2\r"); // not a value of the list
    EXPECT_EQ(bytesOf(model.receive("T=2\r")), ">2\r");
    EXPECT_EQ(bytesOf(model.receive("E=abc\r")), ">2\r");
    EXPECT_EQ(bytesOf(model.receive("E=-35\r")), ">OK\r"); // any decimal number for a list
    EXPECT_EQ(bytesOf(model.receive("Z=1\r")), ">1\r");
    EXPECT_EQ(bytesOf(model.receive("\r")), ">1\r");
    EXPECT_EQ(bytesOf(model.receive("!=3\r")), "G=1\rT=0\rE=-35\r>OK\r");
    EXPECT_EQ(bytesOf(model.receive("!=4\r")), ">OK\r");
    EXPECT_EQ(model.valueOf('G'), "0");
    EXPECT_EQ(model.valueOf('E'), "100");

    // Lines split over several pieces, several lines in one piece, CR LF from a terminal.
    EXPECT_EQ(bytesOf(model.receive("T=")), "");
    EXPECT_EQ(bytesOf(model.receive("1\r\nG=1\rE=5\r")), ">OK\r>OK\r>OK\r");
    EXPECT_EQ(model.valueOf('T'), "1");
    EXPECT_EQ(model.lines().size(), 13u);
    EXPECT_EQ(model.lines()[10], "T=1");
    EXPECT_EQ(model.commandsAnswered(), 13);

    // A control whose character is "-" takes its value alone; error numbers follow the description.
    SimCamera camera;
    camera.errorNumbers = {0};
    camera.controls = {{SimControl::Kind::Combo, "-", {"AUTO", "MANUAL"}, "AUTO"}};
    CameraModel dash(camera);
    EXPECT_EQ(bytesOf(dash.receive("MANUAL\r")), ">OK\r");
    EXPECT_EQ(dash.valueOf('-'), "MANUAL");
    EXPECT_EQ(bytesOf(dash.receive("OTHER\r")), ">0\r");
    camera.errorNumbers.clear();
    FaultKnobs knobs;
    knobs.commandError = 7;
    EXPECT_EQ(bytesOf(CameraModel(camera, knobs).receive("?\r")), ">7\r");
}

TEST(CameraModelTest, FaultKnobsShapeTheAnswers) {
    FaultKnobs knobs;
    knobs.answerDelay = std::chrono::milliseconds(50);
    knobs.byteDelay = std::chrono::milliseconds(10);
    knobs.leadingBytes = "xy";
    Response response = demoModel(knobs).receive("G=1\r");
    ASSERT_EQ(response.pieces.size(), 6u);
    EXPECT_EQ(response.pieces[0].after, std::chrono::milliseconds(50));
    EXPECT_EQ(response.pieces[5].after, std::chrono::milliseconds(10));
    EXPECT_EQ(bytesOf(response), "xy>OK\r");

    knobs = {};
    knobs.nulBytes = 1;
    EXPECT_EQ(bytesOf(demoModel(knobs).receive("G=1\r")), std::string("\0>\0O\0K\0\r", 8));

    // Hang-up after two commands: the rest is never heard.
    knobs = {};
    knobs.hangUpAfter = 2;
    CameraModel hanging = demoModel(knobs);
    EXPECT_FALSE(hanging.receive("G=1\r").hangUp);
    Response last = hanging.receive("G=0\rT=1\r");
    EXPECT_TRUE(last.hangUp);
    EXPECT_EQ(bytesOf(last), ">OK\r");
    EXPECT_TRUE(hanging.hungUp());
    EXPECT_EQ(hanging.valueOf('T'), "0");
    EXPECT_TRUE(hanging.receive("T=1\r").pieces.empty());
    EXPECT_EQ(hanging.transcript().size(), 2u);

    knobs = {};
    knobs.cts = FaultKnobs::Cts::DropAfter;
    knobs.ctsDropAfter = 1;
    CameraModel dropping = demoModel(knobs);
    EXPECT_TRUE(dropping.ctsAsserted());
    dropping.receive("G=1\r");
    EXPECT_FALSE(dropping.ctsAsserted());
    knobs.cts = FaultKnobs::Cts::Low;
    EXPECT_FALSE(demoModel(knobs).ctsAsserted());
}

// Every sample camera shipped with the program loads, takes each of its own values and reports them.
TEST(CameraModelTest, SampleCamerasAcceptTheirOwnValues) {
    int samples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(VISTREL_CAMFILES)) {
        if (entry.path().extension() != ".cam")
            continue;
        ++samples;
        SimCamera camera;
        std::string error;
        ASSERT_TRUE(LoadSimCamera(entry.path().string(), camera, error)) << error;
        CameraModel model(camera);
        EXPECT_NE(bytesOf(model.receive(camera.identCommand + "\r")).find(camera.modelLine + "\r>"), std::string::npos);
        std::string expectedReport;
        for (const SimControl& control : camera.controls) {
            const char command = control.character[0];
            for (const std::string& value : control.allowed) {
                const std::string line = control.character == "-" ? value : std::string(1, command) + "=" + value;
                EXPECT_EQ(bytesOf(model.receive(line + "\r")), ">" + camera.ackText + "\r")
                    << entry.path() << " " << line;
            }
            expectedReport += control.character + "=" + model.valueOf(command) + "\r";
        }
        EXPECT_EQ(bytesOf(model.receive(camera.configCommand + "\r")), expectedReport + ">" + camera.ackText + "\r")
            << entry.path();
    }
    EXPECT_GT(samples, 0);
}

} // namespace
} // namespace vistrel::camsim
