#include "shell/Startup.h"
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
