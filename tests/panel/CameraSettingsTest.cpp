// Camera settings files: the bytes written, opening one onto the panel, and the comparison of the
// panel with a camera's report.
#include "settings/CameraSettingsFile.h"
#include "settings/LastUseSection.h"
#include "tests/panel/PanelFixture.h"

namespace vistrel::test {
namespace {

class CameraSettingsTest : public PanelFixture {};

TEST_F(CameraSettingsTest, SavedFileHoldsTheCameraAndLastUseWithoutWindowKeys) {
    load(kSmallCam);
    connect();
    records.connection.CameraIdentification = "Cam 7";
    linkState.ComDevice[0] = "/dev/ttyUSB0";
    linkState.LinkBaudRate = 19200;
    view.select(1029, 2);
    view.setChecked(1031, true);
    view.setEditText(110, "250");
    state.Xpos = 44;
    const std::string path = folder.path() + "st.vcs";
    ASSERT_TRUE(panel.SaveCameraSettingsFile(path, panel.panelStateShown(), 86400 * 365).ok);
    const std::string text = loadProfile(path);
    const std::string head = "[Camera]\nDescription=test.cam\nIdentification=Cam 7\nDevice=COM1 /dev/ttyUSB0 19200 bd\n"
                             "Saved=1971-01-01T00:00:00Z\n[Last use]\nComboBox1=2\nComboBox2=-1\n";
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_NE(text.find("Check1=1\n"), std::string::npos);
    EXPECT_NE(text.find("ListBox1=250\nListBox2=10\nListBox3=0\nListBox4=0\nListBox5=0\nDate="), std::string::npos);
    EXPECT_EQ(text.find("Xpos"), std::string::npos);

    // Read back as the settings file's "Last use" is read.
    std::string error;
    const std::optional<CameraSettings> back = readCameraSettings(path, error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->Identification, "Cam 7");
    EXPECT_EQ(back->panel.ComboBox[0], 2);
    EXPECT_EQ(back->panel.ListBox[0], "250");
    EXPECT_EQ(back->given.size(), 17u);
    PanelState viaLastUse;
    LoadPanelState(path, viaLastUse);
    EXPECT_EQ(viaLastUse.ListBox, back->panel.ListBox);

    // A value that cannot be written leaves no file.
    records.connection.CameraIdentification = "two\rlines";
    EXPECT_FALSE(panel.SaveCameraSettingsFile(folder.path() + "bad.vcs", state, 0).ok);
    EXPECT_FALSE(readCameraSettings(folder.path() + "bad.vcs", error));
}

TEST_F(CameraSettingsTest, OpeningLoadsItsDescriptionThenSendsOrChangesNothing) {
    writeCam("other.cam", "[Special Cmd]\nCameraIdent=ID?\n[ComboBox1]\nTitle=Speed\nCharacter=S\nValue1=1\n"
                          "Text1=Slow\nValue2=2\nText2=Fast\n");
    load(kSmallCam);
    connect();
    records.connection.CameraIdentification = "Cam 7";
    struct Case {
        std::string file;
        std::vector<PromptAnswer> answers;
        std::vector<std::string> sent;
        std::string camFileName;
    };
    const Case cases[] = {
        {"[Camera]\nDescription=other.cam\n[Last use]\nComboBox1=1\n", {}, {"S=2"}, "other.cam"},
        {"[Camera]\nDescription=gone.cam\n[Last use]\nComboBox1=1\n", {}, {}, "test.cam"},
        {"[Camera]\nIdentification=Cam 9\n[Last use]\nComboBox1=1\n", {PromptAnswer::No}, {}, "test.cam"},
        {"[Camera]\nIdentification=Cam 9\n[Last use]\nComboBox1=1\nListBox2=10\n",
         {PromptAnswer::Yes},
         {"G=1", "M=a", "I=off", "E=100", "P=10"},
         "test.cam"},
        {"[Camera]\nDescription=test.cam\n", {}, {}, "test.cam"},
    };
    for (const Case& c : cases) {
        load(kSmallCam);
        link.commands.clear();
        prompts.shown.clear();
        for (const PromptAnswer answer : c.answers) {
            prompts.script({answer});
        }
        const std::string path = folder.write("open.vcs", c.file);
        EXPECT_EQ(panel.OpenCameraSettingsFile(path), !c.sent.empty()) << c.file;
        EXPECT_EQ(link.commands, c.sent) << c.file;
        EXPECT_EQ(values.CamFileName, c.camFileName) << c.file;
        EXPECT_EQ(prompts.shown.size(), c.sent.empty() ? 1u : c.answers.size()) << c.file;
    }
}

TEST_F(CameraSettingsTest, ComparisonIsWhatThePanelSendsBesideTheReport) {
    load(kSmallCam);
    connect();
    state.ComboBox = {2, 5};
    state.Check[0] = 1;
    state.ListBox[1] = "10";
    struct Case {
        std::string report;
        std::vector<std::optional<std::string>> camera;
        std::vector<bool> same;
    };
    // Rows: Gain (sends 2), Mode (index 5 is beyond its entries: sends nothing), Invert (on),
    // Exposure (an unset list sends what it shows: 100), Period (10).
    const Case cases[] = {
        {"G=2\rM=a\rI=on\rE=100\rP=10.00\r>OK\r", {"2", "a", "on", "100", "10.00"}, {true, false, true, true, true}},
        {"G=1\rI=1\rP=1\r>OK\r", {"1", {}, "1", {}, "1"}, {false, false, false, false, false}},
        {"=G=2\r>OK\r", {{}, {}, {}, {}, {}}, {false, false, false, false, false}},
    };
    for (const Case& c : cases) {
        link.commands.clear();
        link.answerReply(c.report);
        const std::optional<SettingsComparison> comparison = panel.CompareWithCamera();
        ASSERT_TRUE(comparison);
        EXPECT_EQ(link.commands, std::vector<std::string>{"CFG?"}) << "nothing but the query reaches the camera";
        ASSERT_EQ(comparison->rows.size(), 5u);
        EXPECT_EQ(comparison->rows[0].caption, "Gain");
        EXPECT_EQ(comparison->rows[0].expected, "2");
        EXPECT_FALSE(comparison->rows[1].expected);
        EXPECT_EQ(comparison->rows[2].expected, "on");
        EXPECT_EQ(comparison->rows[4].key, "P");
        for (std::size_t r = 0; r < 5; ++r) {
            EXPECT_EQ(comparison->rows[r].camera, c.camera[r]) << c.report << " row " << r;
            EXPECT_EQ(comparison->rows[r].same, c.same[r]) << c.report << " row " << r;
        }
    }
    EXPECT_EQ(state.ComboBox[0], 2) << "the report leaves the panel state alone";
    link.answer({-3, "Receive error", {}});
    EXPECT_FALSE(panel.CompareWithCamera());
    EXPECT_EQ(prompts.texts().back(), kTextSettingsError);
}

} // namespace
} // namespace vistrel::test
