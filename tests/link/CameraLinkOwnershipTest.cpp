// The Camera Link library and its channel are released by their owners: when the link state goes
// out of scope, on an explicit release, and never twice.
#include "ClserTestControl.h"
#include "link/CameraLinkChannel.h"
#include "link/CameraLinkLibrary.h"
#include "link/SystemLink.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vistrel {
namespace {

// The system loader, noting what the scripted library had logged at each unload.
class UnloadRecorder : public DynamicLoader {
public:
    explicit UnloadRecorder(test::ClserTestControl& control) : m_control(control) {}
    void* open(const std::string& path) override { return systemDynamicLoader().open(path); }
    void* symbol(void* handle, const char* name) override { return systemDynamicLoader().symbol(handle, name); }
    bool close(void* handle) override {
        logAtUnload.push_back(m_control.log());
        return systemDynamicLoader().close(handle);
    }
    std::vector<std::string> logAtUnload;

private:
    test::ClserTestControl& m_control;
};

TEST(CameraLinkOwnership, ChannelClosesBeforeTheLibraryUnloadsWhenTheStateGoes) {
    test::ClserTestControl control(CLSERTEST_PATH, 2);
    UnloadRecorder loader(control);
    test::ScriptedPrompts prompts;
    {
        LinkState link;
        ASSERT_EQ(LoadCameraLinkLibrary(link, prompts, CLSERTEST_PATH, loader), CameraLinkLoad::Bound);
        link.CameraLinkPort = 1;
        ASSERT_EQ(OpenCameraLinkChannel(link, link.LinkStatusText), 1);
        EXPECT_EQ(control.openRefs(), 1);
    }
    EXPECT_EQ(loader.logAtUnload, std::vector<std::string>{"init1 close1"});
    EXPECT_EQ(control.openRefs(), 0);

    // An explicit release closes the open channel first as well; a second one has nothing to do.
    LinkState link;
    ASSERT_EQ(LoadCameraLinkLibrary(link, prompts, CLSERTEST_PATH, loader), CameraLinkLoad::Bound);
    ASSERT_EQ(OpenCameraLinkChannel(link, link.LinkStatusText), 1);
    ReleaseCameraLinkLibrary(link, prompts);
    ReleaseCameraLinkLibrary(link, prompts);
    EXPECT_EQ(loader.logAtUnload.size(), 2u);
    EXPECT_EQ(loader.logAtUnload.back(), "init1 close1 init0 close0");
    EXPECT_FALSE(link.SerialRef.isOpen());
    EXPECT_TRUE(prompts.shown.empty());
}

TEST(CameraLinkOwnership, MovedOwnersReleaseOnce) {
    test::ClserTestControl control(CLSERTEST_PATH, 2);
    UnloadRecorder loader(control);
    test::ScriptedPrompts prompts;
    LinkState link;
    ASSERT_EQ(LoadCameraLinkLibrary(link, prompts, CLSERTEST_PATH, loader), CameraLinkLoad::Bound);
    ASSERT_EQ(OpenCameraLinkChannel(link, link.LinkStatusText), 1);
    {
        CameraLinkSerialChannel channel = std::move(link.SerialRef);
        EXPECT_FALSE(link.SerialRef.isOpen());
        CloseCameraLinkChannel(link, link.LinkStatusText);
        EXPECT_EQ(control.log(), "init0");
    }
    EXPECT_EQ(control.log(), "init0 close0");
    {
        CameraLinkLibraryHandle library = std::move(link.CameraLinkLibrary);
        EXPECT_FALSE(IsCameraLinkBound(link));
        EXPECT_TRUE(library.bound());
        EXPECT_TRUE(loader.logAtUnload.empty());
    }
    EXPECT_EQ(loader.logAtUnload.size(), 1u);
    ReleaseCameraLinkLibrary(link, prompts);
    EXPECT_EQ(loader.logAtUnload.size(), 1u);
}

TEST(CameraLinkOwnership, SystemLinkClosesOnlyAChannelItOpened) {
    test::ClserTestControl control(CLSERTEST_PATH, 2);
    test::ScriptedPrompts prompts;
    LinkState state;
    ASSERT_EQ(LoadCameraLinkLibrary(state, prompts, CLSERTEST_PATH), CameraLinkLoad::Bound);
    state.LinkKind = kLinkCameraLink;
    SystemLink link(state);
    EXPECT_EQ(link.close().status, "Connexion Closed");
    EXPECT_EQ(control.log(), "");
    EXPECT_EQ(link.open().result, 1);
    EXPECT_EQ(link.close().result, 1);
    EXPECT_EQ(link.close().status, "Connexion Closed");
    EXPECT_EQ(control.log(), "init0 close0");
}

} // namespace
} // namespace vistrel
