#include "shell/ExitSequence.h"
#include "settings/SettingsSave.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace vistrel {
namespace {

using test::ScriptedPrompts;
using test::TempDir;

struct Exit {
    AppState state;
    ScriptedPrompts prompts;
    int saves = 0;
    int releases = 0;

    ExitOutcome close(const WindowRect& rect = {-20, 30, 465, 565}) {
        return OnClose(
            rect, state, prompts,
            [this](const AppState&) {
                ++saves;
                return ProfileResult{};
            },
            [this](LinkState& link) {
                ++releases;
                link.CameraLinkLibrary.unload();
            });
    }
};

TEST(ExitSequence, OutcomesFollowTheAnswersAndTheChangedFlag) {
    // No to the quit question: the program goes on, but the rectangle was taken.
    Exit no;
    no.prompts.script({PromptAnswer::No});
    EXPECT_EQ(no.close(), ExitOutcome::GoOn);
    EXPECT_EQ(no.prompts.texts(), std::vector<std::string>{"Do you want to quit Vistrel ?"});
    EXPECT_EQ(no.prompts.shown[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(no.state.panel.Xpos, -20);
    EXPECT_EQ(no.state.panel.Ypos, 30);
    EXPECT_EQ(no.state.panel.Xdim, 485);
    EXPECT_EQ(no.state.panel.Ydim, 535);

    // Nothing changed: one question, no save.
    Exit unchanged;
    unchanged.prompts.script({PromptAnswer::Yes});
    EXPECT_EQ(unchanged.close(), ExitOutcome::EndWithoutSave);
    EXPECT_EQ(unchanged.prompts.shown.size(), 1U);
    EXPECT_EQ(unchanged.saves, 0);

    // Changed: Cancel keeps the program and the Camera Link library.
    Exit cancel;
    cancel.state.link.SettingsChanged = 1;
    cancel.state.link.LinkKind = kLinkCameraLink;
    cancel.prompts.script({PromptAnswer::Yes, PromptAnswer::Cancel});
    EXPECT_EQ(cancel.close(), ExitOutcome::GoOn);
    EXPECT_EQ(cancel.prompts.texts()[1], "Do you want to save the current states of the camera ?");
    EXPECT_EQ(cancel.prompts.shown[1].buttons, PromptButtons::YesNoCancel);
    EXPECT_EQ(cancel.saves + cancel.releases, 0);

    // Declining the save still releases the Camera Link library.
    Exit decline;
    decline.state.link.SettingsChanged = 1;
    decline.state.link.LinkKind = kLinkCameraLink;
    decline.prompts.script({PromptAnswer::Yes, PromptAnswer::No});
    EXPECT_EQ(decline.close(), ExitOutcome::EndWithoutSave);
    EXPECT_EQ(decline.saves, 0);
    EXPECT_EQ(decline.releases, 1);

    Exit save;
    save.state.link.SettingsChanged = -1; // any non-zero value offers the save
    save.prompts.script({PromptAnswer::Yes, PromptAnswer::Yes});
    EXPECT_EQ(save.close(), ExitOutcome::EndAfterSave);
    EXPECT_EQ(save.saves, 1);
    EXPECT_EQ(save.releases, 0);
    EXPECT_EQ(save.prompts.shown.size(), 2U);
}

TEST(ExitSequence, RefusedSaveIsReportedAndTheOldFileStaysWhole) {
    TempDir dir;
    const std::string before = "[Common]\nVersion=6.5.0\nCOM Port=1\n[Last use]\nComboBox1=4\n";
    Exit run;
    run.state.values.SettingsPath = dir.write("vistrel.INI", before);
    run.state.link.SettingsChanged = 1;
    run.state.link.ComDevice[1] = "/dev/serial/by-id/" + std::string(400, 'u'); // a save of some size

    // The file size limit makes every write past 64 bytes fail, for root as well.
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 64;
    auto* const previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    run.prompts.script({PromptAnswer::Yes, PromptAnswer::Yes});
    const ExitOutcome outcome = OnClose({0, 0, 485, 535}, run.state, run.prompts,
                                        [](const AppState& s) { return SavePanelState(s.values, s.link, s.panel, 0); });
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(outcome, ExitOutcome::EndAfterSave);
    ASSERT_EQ(run.prompts.shown.size(), 3U);
    EXPECT_EQ(run.prompts.shown[2].caption, ""); // the application's caption, warning icon
    EXPECT_EQ(run.prompts.shown[2].buttons, PromptButtons::Ok);
    EXPECT_EQ(run.prompts.shown[2].text, "The settings could not be saved to " + run.state.values.SettingsPath +
                                             ": File too large.\nThe file was left as it was.");
    EXPECT_EQ(dir.read("vistrel.INI"), before);
    EXPECT_EQ(test::entriesOf(dir.path()), 1U); // no temporary file is left behind
}

} // namespace
} // namespace vistrel
