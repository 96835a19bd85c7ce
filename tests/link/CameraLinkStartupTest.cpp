#include "ClserTestControl.h"
#include "link/CameraLinkLibrary.h"
#include "shell/Startup.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

namespace vistrel {
namespace {

// Start-up of a program installed in `dir` whose settings choose Camera Link.
void start(AppState& state, test::ScriptedPrompts& prompts, const test::TempDir& dir, const std::string& settings) {
    dir.write("vistrel.INI", settings);
    StartupInput input;
    input.executablePath = dir.path() + "vistrel";
    input.applicationsFolder = dir.path() + "applications";
    input.releaseCameraLink = [&prompts](LinkState& link) { ReleaseCameraLinkLibrary(link, prompts); };
    ASSERT_EQ(runStartup(input, state, prompts).action, StartupAction::OpenFrame);
}

TEST(CameraLinkStartup, LoadsTheLibraryOfTheSettingsOrSaysWhyNot) {
    test::ClserTestControl control(CLSERTEST_PATH);
    test::TempDir dir;
    {
        AppState state;
        test::ScriptedPrompts prompts;
        start(state, prompts, dir,
              std::string("[Common]\nCOM Port=3\nCameraLink DLL=") + CLSERTEST_PATH + "\nCameraLink Port=1\n");
        EXPECT_TRUE(prompts.shown.empty());
        EXPECT_TRUE(IsCameraLinkBound(state.link));
        EXPECT_EQ(state.link.LinkKind, kLinkCameraLink);
        EXPECT_EQ(state.link.CameraLinkPort, 1);
        ReleaseCameraLinkLibrary(state.link, prompts);
    }
    {
        AppState state;
        test::ScriptedPrompts prompts;
        start(state, prompts, dir, "[Common]\nCOM Port=3\nCameraLink DLL=" + dir.path() + "libclsergone.so\n");
        EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Error opening the CameraLink library"});
        EXPECT_EQ(state.link.LinkKind, kLinkCameraLink);
        EXPECT_EQ(state.link.CameraLinkPort, 0);
        EXPECT_EQ(state.link.CameraLinkLibraryPath, dir.path() + "libclsergone.so");
        EXPECT_EQ(state.link.SettingsChanged, 0);
        EXPECT_FALSE(state.link.CameraLinkLibrary.loaded());
    }
    {
        AppState state;
        test::ScriptedPrompts prompts;
        start(state, prompts, dir,
              std::string("[Common]\nCOM Port=3\nCameraLink DLL=") + CLSERTEST_NOCLOSE_PATH + "\nCameraLink Port=2\n");
        EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Error getting library entry points"});
        EXPECT_EQ(state.link.LinkKind, kLinkCameraLink);
        EXPECT_EQ(state.link.CameraLinkPort, 2);
        EXPECT_FALSE(IsCameraLinkBound(state.link));
    }
}

// Libraries whose loading ends the process that loads it: tried in a child, refused with how the
// child ended, never loaded here; the setting stays.
TEST(CameraLinkStartup, ALibraryThatKillsItsLoaderIsRefused) {
    struct Case {
        const char* fate;
        const char* said;
    };
    for (const Case& c :
         {Case{"exit", "ended with exit code 3"}, Case{"crash", "signal 6"}, Case{"hang", "did not end within 5 s"}}) {
        setenv("CLTEST_LOAD_FATE", c.fate, 1);
        test::TempDir dir;
        AppState state;
        test::ScriptedPrompts prompts;
        start(state, prompts, dir, std::string("[Common]\nCOM Port=3\nCameraLink DLL=") + CLSERTEST_BADLOAD_PATH);
        unsetenv("CLTEST_LOAD_FATE");
        ASSERT_EQ(prompts.texts().size(), 1u) << c.fate;
        EXPECT_NE(prompts.texts()[0].find(c.said), std::string::npos) << prompts.texts()[0];
        EXPECT_FALSE(state.link.CameraLinkLibrary.loaded());
        EXPECT_EQ(state.link.LinkKind, kLinkCameraLink);
        EXPECT_EQ(state.link.CameraLinkLibraryPath, CLSERTEST_BADLOAD_PATH);
    }
}

TEST(CameraLinkStartup, ARelativeLibraryIsTakenFromTheSettingsFolder) {
    test::ClserTestControl control(CLSERTEST_PATH);
    test::TempDir dir;
    ASSERT_EQ(symlink(CLSERTEST_PATH, (dir.path() + "libclserhere.so").c_str()), 0);
    AppState state;
    test::ScriptedPrompts prompts;
    start(state, prompts, dir, "[Common]\nCOM Port=3\nCameraLink DLL=libclserhere.so\n");
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(IsCameraLinkBound(state.link));
    EXPECT_EQ(state.link.CameraLinkLibraryPath, dir.path() + "libclserhere.so");
    ReleaseCameraLinkLibrary(state.link, prompts);
}

} // namespace
} // namespace vistrel
