// Start-up's reading of the settings file: section "Common", "Serial Devices" and "Last use".
#include "settings/StartupSettings.h"
#include "platform/Profile.h"
#include "shell/Startup.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace vistrel {
namespace {

using test::ScriptedPrompts;
using test::TempDir;

struct Read {
    RunValues values;
    LinkState link;
    PanelState panel;
    ScriptedPrompts prompts;
};

// Start-up of a program installed in `dir` whose settings file holds `settings`.
void read(Read& run, const TempDir& dir, const std::string& settings) {
    dir.write("vistrel.INI", settings);
    run.values.AppDirectory = dir.path();
    run.values.SettingsPath = dir.path() + "vistrel.INI";
    takeUpStartupSettings(ReadStartupSettings(run.values), {}, run.values, run.link, run.panel, run.prompts);
}

TEST(StartupSettings, ComPortValueSelectsTheLinkByTheDigitsItHolds) {
    const struct {
        const char* settings;
        int kind;
    } cases[] = {
        {"[Common]\nCOM Port=1\n", kLinkCom1}, {"[Common]\nCOM Port=12\n", kLinkCom2},
        {"[Common]\nCOM Port=0\n", kLinkCom1}, {"[Common]\nBaudRate=9600\n", kLinkCom2},
        {"[Common]\nCOM Port=2\n", kLinkCom2}, {"[Other]\nCOM Port=1\n", kLinkCom2},
    };
    for (const auto& c : cases) {
        TempDir dir;
        Read run;
        read(run, dir, c.settings);
        EXPECT_EQ(run.link.LinkKind, c.kind) << c.settings;
        EXPECT_EQ(run.link.SettingsChanged, 0) << c.settings;
    }

    // Camera Link: library path (whole) and port (leading digits) come along.
    TempDir dir;
    Read cl;
    const std::string longPath = "/opt/grabber/" + std::string(120, 'l') + ".so";
    read(cl, dir, ("[Common]\nCOM Port=13\nCameraLink DLL=" + longPath + "\nCameraLink Port=4x\n").c_str());
    EXPECT_EQ(cl.link.LinkKind, kLinkCameraLink);
    EXPECT_EQ(cl.link.CameraLinkLibraryPath, longPath);
    EXPECT_EQ(cl.link.CameraLinkPort, 4);
    EXPECT_EQ(cl.link.SettingsChanged, 0);
    Read letters;
    read(letters, dir, "[Common]\nCOM Port=3\nCameraLink Port=abc\n");
    EXPECT_EQ(letters.link.CameraLinkPort, 0);
}

TEST(StartupSettings, CameraFileBaudRateSerialDevicesAndLastUseAreRead) {
    const std::string longName = std::string(120, 'c');
    const struct {
        std::string value;
        std::string name;
    } camFiles[] = {{"Camera File=line scan.cam\n", "line scan.cam"},
                    {"Camera File=my-cam.cam\n", ""},
                    {"Camera File=\n", ""},
                    {"Camera File=" + longName + "\n", longName.substr(0, 99)},
                    {"", ""}};
    for (const auto& c : camFiles) {
        TempDir dir;
        Read run;
        read(run, dir, ("[Common]\n" + c.value).c_str());
        EXPECT_EQ(run.values.CamFileName, c.name) << c.value;
        const bool set = c.value.find('-') == std::string::npos && !c.value.empty();
        EXPECT_EQ(run.values.CamFilePath, set ? dir.path() + "CamFiles/" + c.name : "") << c.value;
    }

    const struct {
        const char* line;
        int rate;
    } rates[] = {{"", 9600}, {"BaudRate=letters\n", 0}, {"BaudRate=19200\n", 19200}, {"BaudRate=57600\n", 57600}};
    for (const auto& r : rates) {
        TempDir dir;
        Read run;
        read(run, dir, (std::string("[Common]\n") + r.line).c_str());
        EXPECT_EQ(run.link.LinkBaudRate, r.rate) << r.line;
    }

    TempDir dir;
    Read run;
    read(run, dir,
         "[Last use]\nComboBox1=3\nComboBox8=-1\nCheck4=1\nListBox5=250\nDate=01/01/2026 at 10:00:00\n"
         "Xpos=-12\nYpos=7\nXdim=485\nYdim=535\n[Serial Devices]\nCOM1=\nCOM2=/dev/ttyUSB0\n");
    EXPECT_EQ(run.panel.ComboBox[0], 3);
    EXPECT_EQ(run.panel.ComboBox[7], -1);
    EXPECT_EQ(run.panel.Check[3], 1);
    EXPECT_EQ(run.panel.ListBox[4], "250");
    EXPECT_EQ(run.panel.Xpos, -12);
    EXPECT_EQ(run.panel.Ydim, 535);
    EXPECT_EQ(run.link.ComDevice[0], "/dev/ttyS0");
    EXPECT_EQ(run.link.ComDevice[1], "/dev/ttyUSB0");
}

TEST(StartupSettings, BadSettingsFilesAreReadWithoutHarmAndLeftUntouched) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        binary += static_cast<char>((i * 37) & 0xff);
    }
    const std::string huge = "[Common]\nCOM Port=1\n" + std::string(kProfileMaxBytes + 100, 'z');
    const std::string inputs[] = {binary,
                                  huge,
                                  "no sections at all\nCOM Port=1\n",
                                  "[Common]\nCOM Port=1\n[Common]\nCOM Port=2\nCOM Port=3\n",
                                  "[Common\nCOM Port\n=1\n",
                                  "[" + std::string(100000, 'n') + "]\nx=1\n"};
    for (const std::string& settings : inputs) {
        TempDir dir;
        Read run;
        read(run, dir, settings);
        EXPECT_EQ(dir.read("vistrel.INI"), settings);
    }
}

} // namespace
} // namespace vistrel
