#include "ClserTestControl.h"
#include "link/CameraLinkLibrary.h"
#include "shell/Startup.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace vistrel
