#include "link/CameraLinkLibrary.h"
#include "ClserTestControl.h"
#include "link/CameraLinkChannel.h"
#include "link/CameraLinkPorts.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace vistrel {
namespace {

using test::ClserTestControl;
using test::ScriptedPrompts;

// Delegates to the system loader but can refuse to unload, as dlclose may.
class RefusingLoader : public DynamicLoader {
public:
    void* open(const std::string& path) override { return systemDynamicLoader().open(path); }
    void* symbol(void* handle, const char* name) override { return systemDynamicLoader().symbol(handle, name); }
    bool close(void* handle) override {
        systemDynamicLoader().close(handle);
        return false;
    }
};

// Loads with the system loader but finds no entry point.
class NoSymbolLoader : public DynamicLoader {
public:
    void* open(const std::string& path) override { return systemDynamicLoader().open(path); }
    void* symbol(void*, const char*) override { return nullptr; }
    bool close(void* handle) override { return systemDynamicLoader().close(handle); }
};

TEST(CameraLinkLibrary, LoadsAndBindsTheFourEntryPointsAndReleases) {
    ClserTestControl control(CLSERTEST_PATH);
    LinkState link;
    ScriptedPrompts prompts;
    EXPECT_EQ(LoadCameraLinkLibrary(link, prompts, CLSERTEST_PATH), CameraLinkLoad::Bound);
    EXPECT_TRUE(IsCameraLinkBound(link));
    EXPECT_EQ(link.CameraLinkLibraryPath, CLSERTEST_PATH);
    EXPECT_TRUE(prompts.shown.empty());

    ReleaseCameraLinkLibrary(link, prompts);
    EXPECT_FALSE(link.CameraLinkLibrary.loaded());
    EXPECT_FALSE(IsCameraLinkBound(link));
    EXPECT_EQ(link.CameraLinkLibrary.entryPoints().clSerialInit, nullptr);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(link.CameraLinkLibraryPath, CLSERTEST_PATH);

    // Releasing with nothing loaded has nothing to report.
    ReleaseCameraLinkLibrary(link, prompts);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST(CameraLinkLibrary, LoadFailuresShowTheirMessageAndLeaveNothingLoaded) {
    test::TempDir dir;
    LinkState link;
    ScriptedPrompts prompts;
    EXPECT_EQ(LoadCameraLinkLibrary(link, prompts, dir.path() + "missing.so"), CameraLinkLoad::NotOpened);
    const std::string notALibrary = dir.write("libclserfake.so", "this is text, not ELF\n");
    EXPECT_EQ(LoadCameraLinkLibrary(link, prompts, notALibrary), CameraLinkLoad::NotOpened);
    EXPECT_EQ(LoadCameraLinkLibrary(link, prompts, ""), CameraLinkLoad::NotOpened);
    EXPECT_EQ(prompts.texts(), std::vector<std::string>(3, kTextErrorOpeningLibrary));
    EXPECT_FALSE(link.CameraLinkLibrary.loaded());
    EXPECT_EQ(link.CameraLinkLibraryPath, "");

    prompts.shown.clear();
    EXPECT_EQ(LoadCameraLinkLibrary(link, prompts, CLSERTEST_NOCLOSE_PATH), CameraLinkLoad::EntryPointMissing);
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{kTextErrorEntryPoints});
    EXPECT_FALSE(link.CameraLinkLibrary.loaded());
    EXPECT_FALSE(IsCameraLinkBound(link));
}

TEST(CameraLinkLibrary, RefusedUnloadIsReportedAndTheHandleClearedAllTheSame) {
    RefusingLoader loader;
    LinkState link;
    ScriptedPrompts prompts;
    ASSERT_EQ(LoadCameraLinkLibrary(link, prompts, CLSERTEST_PATH, loader), CameraLinkLoad::Bound);
    ReleaseCameraLinkLibrary(link, prompts);
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{kTextErrorClosingLibrary});
    EXPECT_FALSE(link.CameraLinkLibrary.loaded());
    EXPECT_FALSE(IsCameraLinkBound(link));
}

TEST(CameraLinkPorts, ProbeListsPortsInOrderClosingEachAndStopsAtTheFirstRefusal) {
    ClserTestControl control(CLSERTEST_PATH, 2);
    LinkState link;
    ScriptedPrompts prompts;
    ASSERT_EQ(LoadCameraLinkLibrary(link, prompts, CLSERTEST_PATH), CameraLinkLoad::Bound);
    EXPECT_EQ(ListCameraLinkPorts(link), (std::vector<int>{0, 1}));
    EXPECT_EQ(control.log(), "init0 close0 init1 close1 init2");
    EXPECT_EQ(control.openRefs(), 0);
    EXPECT_EQ(CameraLinkPortItemText(0), "CameraLink Port 0");
    EXPECT_EQ(CameraLinkPortItemText(12), "CameraLink Port 12");
    ReleaseCameraLinkLibrary(link, prompts);
    EXPECT_TRUE(ListCameraLinkPorts(link).empty());
}

TEST(CameraLinkPorts, ProbeStopsAt999AndFindsNothingWithoutALibrary) {
    ClserTestControl control(CLSERTEST_PATH, 5000);
    LinkState link;
    ScriptedPrompts prompts;
    ASSERT_EQ(LoadCameraLinkLibrary(link, prompts, CLSERTEST_PATH), CameraLinkLoad::Bound);
    const std::vector<int> ports = ListCameraLinkPorts(link);
    ASSERT_EQ(ports.size(), 1000u);
    EXPECT_EQ(ports.back(), 999);
    EXPECT_EQ(CameraLinkPortItemText(ports.back()), "CameraLink Port 999");
    EXPECT_EQ(control.openRefs(), 0);

    // A library loaded but not bound is never called.
    const std::string before = control.log();
    NoSymbolLoader noSymbols;
    LinkState unbound;
    unbound.CameraLinkLibrary = CameraLinkLibraryHandle(noSymbols, noSymbols.open(CLSERTEST_PATH));
    ASSERT_TRUE(unbound.CameraLinkLibrary.loaded());
    EXPECT_TRUE(ListCameraLinkPorts(unbound).empty());
    EXPECT_EQ(control.log(), before);
    ReleaseCameraLinkLibrary(link, prompts);
}

TEST(CameraLinkChannel, OpensTheChosenPortAndClosesOnlyAnOpenChannel) {
    ClserTestControl control(CLSERTEST_PATH, 2);
    LinkState link;
    ScriptedPrompts prompts;
    char status[kLinkStatusCapacity] = {};

    // No library: nothing is called.
    EXPECT_EQ(OpenCameraLinkChannel(link, status), 0);
    EXPECT_STREQ(status, kTextConnexionError);

    ASSERT_EQ(LoadCameraLinkLibrary(link, prompts, CLSERTEST_PATH), CameraLinkLoad::Bound);
    link.CameraLinkPort = 1;
    EXPECT_EQ(OpenCameraLinkChannel(link, status), 1);
    EXPECT_STREQ(status, kTextConnexionOk);
    EXPECT_TRUE(link.SerialRef.isOpen());
    CloseCameraLinkChannel(link, status);
    CloseCameraLinkChannel(link, status); // a second disconnection closes nothing
    EXPECT_STREQ(status, kTextConnexionClosed);
    EXPECT_EQ(control.log(), "init1 close1");

    link.CameraLinkPort = -1; // confirmed with an empty list: the library refuses
    EXPECT_EQ(OpenCameraLinkChannel(link, status), 0);
    EXPECT_STREQ(status, kTextConnexionError);
    EXPECT_FALSE(link.SerialRef.isOpen());
    CloseCameraLinkChannel(link, status);
    EXPECT_EQ(control.log(), "init1 close1 init4294967295");
    EXPECT_EQ(control.openRefs(), 0);
    ReleaseCameraLinkLibrary(link, prompts);
}

} // namespace
} // namespace vistrel
