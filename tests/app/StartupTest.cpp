#include "app/Startup.h"
#include "platform/Profile.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <optional>

namespace vistrel {
namespace {

using test::ScriptedPrompts;
using test::TempDir;

struct Started {
    AppState state;
    ScriptedPrompts prompts;
    StartupResult result;
};

// Start-up of a program installed in `dir`, with the settings file holding `settings` (none when
// there is no `settings`) and the given arguments.
void start(Started& run, const TempDir& dir, const std::optional<std::string>& settings,
           std::vector<std::string> arguments = {}) {
    if (settings) {
        dir.write("vistrel.INI", *settings);
    }
    StartupInput input;
    input.executablePath = dir.path() + "vistrel";
    input.arguments = std::move(arguments);
    input.applicationsFolder = dir.path() + "applications";
    run.result = runStartup(input, run.state, run.prompts);
    ASSERT_EQ(run.result.action, StartupAction::OpenFrame);
    announceDebugMode(input.arguments, run.state, run.prompts);
}

TEST(Startup, NoSettingsFileOpensSilentlyWithComOneUnlessArgumentsAreGiven) {
    TempDir dir;
    Started quiet;
    start(quiet, dir, std::nullopt);
    EXPECT_TRUE(quiet.prompts.shown.empty());
    EXPECT_EQ(quiet.state.values.AppDirectory, dir.path());
    EXPECT_EQ(quiet.state.values.SettingsPath, dir.path() + "vistrel.INI");
    EXPECT_EQ(quiet.state.values.SettingsFileFound, 0);
    EXPECT_EQ(quiet.state.link.LinkKind, kLinkCom1);
    EXPECT_EQ(quiet.state.link.LinkBaudRate, 0);

    // With any argument: the missing-file message (captioned with the file's name), then debug mode.
    Started debug;
    start(debug, dir, std::nullopt, {"x"});
    ASSERT_EQ(debug.prompts.shown.size(), 2U);
    EXPECT_EQ(debug.prompts.shown[0].caption, "vistrel.INI");
    EXPECT_EQ(debug.prompts.shown[0].text, "The initialization file doesn't exists");
    EXPECT_EQ(debug.prompts.shown[1].caption, "");
    EXPECT_EQ(debug.prompts.shown[1].text, "Mode 'debug' activ\xc3\xa9.");
    EXPECT_EQ(debug.state.values.DebugMode, 1);
    EXPECT_EQ(debug.state.values.SettingsFileFound, 0);
    EXPECT_FALSE(std::ifstream(dir.path() + "vistrel.INI").good()); // nothing written
}

TEST(Startup, ComPortValueSelectsTheLinkByTheDigitsItHolds) {
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
        Started run;
        start(run, dir, c.settings);
        EXPECT_EQ(run.state.link.LinkKind, c.kind) << c.settings;
        EXPECT_EQ(run.state.link.SettingsChanged, 0) << c.settings;
    }

    // Camera Link: library path (cut to 99 characters) and port (leading digits) come along.
    TempDir dir;
    Started cl;
    const std::string longPath = "/opt/grabber/" + std::string(120, 'l') + ".so";
    start(cl, dir, ("[Common]\nCOM Port=13\nCameraLink DLL=" + longPath + "\nCameraLink Port=4x\n").c_str());
    EXPECT_EQ(cl.state.link.LinkKind, kLinkCameraLink);
    EXPECT_EQ(cl.state.link.CameraLinkLibraryPath, longPath.substr(0, 99));
    EXPECT_EQ(cl.state.link.CameraLinkPort, 4);
    EXPECT_EQ(cl.state.link.SettingsChanged, 0);
    Started letters;
    start(letters, dir, "[Common]\nCOM Port=3\nCameraLink Port=abc\n");
    EXPECT_EQ(letters.state.link.CameraLinkPort, 0);
}

TEST(Startup, CameraFileBaudRateSerialDevicesAndLastUseAreRead) {
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
        Started run;
        start(run, dir, ("[Common]\n" + c.value).c_str());
        EXPECT_EQ(run.state.values.CamFileName, c.name) << c.value;
        const bool set = c.value.find('-') == std::string::npos && !c.value.empty();
        EXPECT_EQ(run.state.values.CamFilePath, set ? dir.path() + "CamFiles/" + c.name : "") << c.value;
    }

    const struct {
        const char* line;
        int rate;
    } rates[] = {{"", 9600}, {"BaudRate=letters\n", 0}, {"BaudRate=19200\n", 19200}, {"BaudRate=57600\n", 57600}};
    for (const auto& r : rates) {
        TempDir dir;
        Started run;
        start(run, dir, (std::string("[Common]\n") + r.line).c_str());
        EXPECT_EQ(run.state.link.LinkBaudRate, r.rate) << r.line;
    }

    TempDir dir;
    Started run;
    start(run, dir,
          "[Last use]\nComboBox1=3\nComboBox8=-1\nCheck4=1\nListBox5=250\nDate=01/01/2026 at 10:00:00\n"
          "Xpos=-12\nYpos=7\nXdim=485\nYdim=535\n[Serial Devices]\nCOM2=/dev/ttyUSB0\n");
    EXPECT_EQ(run.state.panel.ComboBox[0], 3);
    EXPECT_EQ(run.state.panel.ComboBox[7], -1);
    EXPECT_EQ(run.state.panel.Check[3], 1);
    EXPECT_EQ(run.state.panel.ListBox[4], 250);
    EXPECT_EQ(run.state.panel.Xpos, -12);
    EXPECT_EQ(run.state.panel.Ydim, 535);
    EXPECT_EQ(run.state.link.ComDevice[0], "/dev/ttyS0");
    EXPECT_EQ(run.state.link.ComDevice[1], "/dev/ttyUSB0");
}

TEST(Startup, BadSettingsFilesAreReadWithoutHarmAndLeftUntouched) {
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
        Started run;
        start(run, dir, settings);
        EXPECT_EQ(dir.read("vistrel.INI"), settings);
    }
}

TEST(Startup, RegistrationAndAutomationSwitchesEndWithoutReadingSettings) {
    TempDir dir;
    dir.write("vistrel.INI", "[Common]\nCOM Port=2\n");
    StartupInput input;
    input.executablePath = dir.path() + "vistrel";
    input.applicationsFolder = dir.path() + "share/applications";

    for (const char* word : {"-Embedding", "/automation", "/EMBEDDING"}) {
        AppState state;
        ScriptedPrompts prompts;
        input.arguments = {word};
        const StartupResult result = runStartup(input, state, prompts);
        EXPECT_EQ(result.action, StartupAction::EndProcess) << word;
        EXPECT_EQ(state.values.SettingsPath, "");
        EXPECT_EQ(state.link.LinkKind, kLinkCom1);
        EXPECT_TRUE(prompts.shown.empty());
    }

    // Registration ends the process too, with a failure in the exit code (the entry itself is
    // tested with the desktop registration).
    AppState state;
    ScriptedPrompts prompts;
    input.arguments = {"file.txt", "/RegServer"};
    EXPECT_EQ(runStartup(input, state, prompts).exitCode, 0);
    EXPECT_EQ(test::entriesOf(dir.path() + "share/applications"), 1U);
    input.arguments = {"-unregserver"};
    EXPECT_EQ(runStartup(input, state, prompts).action, StartupAction::EndProcess);
    EXPECT_EQ(test::entriesOf(dir.path() + "share/applications"), 0U);
    dir.write("blocked", "a file");
    input.applicationsFolder = dir.path() + "blocked/applications";
    input.arguments = {"-RegServer"};
    const StartupResult failed = runStartup(input, state, prompts);
    EXPECT_EQ(failed.action, StartupAction::EndProcess);
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_FALSE(failed.problem.empty());
    EXPECT_EQ(state.values.SettingsPath, "");
    EXPECT_TRUE(prompts.shown.empty());
}

} // namespace
} // namespace vistrel
