#include "link/ChooseCameraLink.h"
#include "ClserTestControl.h"
#include "link/CameraLinkLibrary.h"
#include "link/SystemLibraryFolder.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace vistrel {
namespace {

using test::ScriptedPrompts;

// Answers the two dialogs from a script and records what they were shown.
class ScriptedChoice : public CameraLinkChoiceUi {
public:
    std::optional<std::string> file;
    bool portOk = true;
    int port = 0;
    std::string startFolder;
    int portDialogs = 0;
    bool boundWhenAsked = false;

    std::optional<std::string> chooseLibraryFile(const std::string& folder) override {
        startFolder = folder;
        return file;
    }
    bool choosePort(LinkState& link) override {
        ++portDialogs;
        boundWhenAsked = IsCameraLinkBound(link);
        if (portOk) {
            link.CameraLinkPort = port;
        }
        return portOk;
    }
};

TEST(ChooseCameraLink, CompletedChoiceMakesCameraLinkTheLink) {
    test::ClserTestControl control(CLSERTEST_PATH);
    LinkState link;
    ScriptedPrompts prompts;
    ScriptedChoice ui;
    ui.file = CLSERTEST_PATH;
    ui.port = 1;
    ChooseCameraLink(link, prompts, ui, std::string("/usr/lib"));
    EXPECT_EQ(ui.startFolder, "/usr/lib");
    EXPECT_TRUE(ui.boundWhenAsked);
    EXPECT_EQ(link.LinkKind, kLinkCameraLink);
    EXPECT_EQ(link.SettingsChanged, 1);
    EXPECT_EQ(link.CameraLinkPort, 1);
    EXPECT_TRUE(IsCameraLinkBound(link));
    EXPECT_TRUE(prompts.shown.empty());

    // Cancelling the file dialog keeps the library and the link kind.
    void* loaded = link.CameraLinkLibrary.handle();
    link.SettingsChanged = 0;
    ui.file.reset();
    ChooseCameraLink(link, prompts, ui, std::string("/usr/lib"));
    EXPECT_EQ(link.CameraLinkLibrary.handle(), loaded);
    EXPECT_EQ(link.LinkKind, kLinkCameraLink);
    EXPECT_EQ(link.SettingsChanged, 0);

    // A file that is no library: the old one is released, Camera Link stays the link with none loaded.
    test::TempDir dir;
    ui.file = dir.write("libclserbad.so", "not a library");
    ChooseCameraLink(link, prompts, ui, std::string("/usr/lib"));
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{kTextErrorOpeningLibrary});
    EXPECT_FALSE(link.CameraLinkLibrary.loaded());
    EXPECT_EQ(link.LinkKind, kLinkCameraLink);
    EXPECT_EQ(ui.portDialogs, 1);
}

TEST(ChooseCameraLink, FailuresAfterTheFileLeaveNoLibraryAndTheLinkKind) {
    test::ClserTestControl control(CLSERTEST_PATH);
    LinkState link;
    link.LinkKind = kLinkCom2;
    ScriptedPrompts prompts;
    ScriptedChoice ui;

    ui.file = CLSERTEST_NOCLOSE_PATH;
    ChooseCameraLink(link, prompts, ui, std::string("/usr/lib"));
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{kTextErrorEntryPoints});
    EXPECT_EQ(ui.portDialogs, 0);

    ui.file = CLSERTEST_PATH;
    ui.portOk = false;
    link.CameraLinkPort = 7;
    ChooseCameraLink(link, prompts, ui, std::string("/usr/lib"));
    EXPECT_EQ(ui.portDialogs, 1);
    EXPECT_FALSE(link.CameraLinkLibrary.loaded());
    EXPECT_EQ(link.CameraLinkPort, 7);
    EXPECT_EQ(link.LinkKind, kLinkCom2);
    EXPECT_EQ(link.SettingsChanged, 0);
    EXPECT_EQ(prompts.shown.size(), 1u);
}

TEST(ChooseCameraLink, MissingSystemFolderIsReportedAndTheDialogStillOpens) {
    LinkState link;
    ScriptedPrompts prompts;
    ScriptedChoice ui;
    ui.startFolder = "unset";
    ChooseCameraLink(link, prompts, ui, std::nullopt);
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Error in getting sytem directory path"});
    EXPECT_EQ(ui.startFolder, "");
    EXPECT_EQ(link.LinkKind, kLinkCom1);
}

TEST(SystemLibraryFolder, PrefersTheMultiarchFolder) {
    test::TempDir root;
    const std::string base = root.path().substr(0, root.path().size() - 1);
    EXPECT_EQ(SystemLibraryFolder(base), std::nullopt);
    std::filesystem::create_directories(base + "/usr/lib");
    EXPECT_EQ(SystemLibraryFolder(base), base + "/usr/lib");
    ASSERT_FALSE(LibraryMultiarch().empty());
    std::filesystem::create_directories(base + "/usr/lib/" + LibraryMultiarch());
    EXPECT_EQ(SystemLibraryFolder(base), base + "/usr/lib/" + LibraryMultiarch());
    EXPECT_TRUE(SystemLibraryFolder().has_value());
}

} // namespace
} // namespace vistrel
