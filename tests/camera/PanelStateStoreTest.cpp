#include "camera/PanelStateStore.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

namespace vistrel {
namespace {

using test::TempDir;

// 8 December 2026, 16:05:09 UTC.
constexpr std::time_t kSaveTime = 1796745909;

class PanelStateStore : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        values.SettingsPath = dir.path() + "vistrel.INI";
        values.CamFileName = "line scan.cam";
        link.LinkKind = kLinkCom2;
        link.LinkBaudRate = 19200;
        link.ComDevice[1] = "/dev/ttyUSB0";
        for (int i = 0; i < kComboCount; ++i) {
            panel.ComboBox[i] = i;
        }
        panel.ComboBox[7] = -1;
        panel.Check = {1, 0, 1, 0};
        panel.ListBox = {250, 0, -3, 0, 7};
        panel.Xpos = -8;
        panel.Ypos = -2;
        panel.Xdim = 485;
        panel.Ydim = 535;
    }

    // "Last use" as the fixture's panel saves it.
    static std::string lastUse(const std::string& eol) {
        std::string text = "[Last use]" + eol;
        const int values[] = {0, 1, 2, 3, 4, 5, 6, -1, 1, 0, 1, 0, 250, 0, -3, 0, 7};
        for (int i = 0; i < 17; ++i) {
            const std::string key = i < 8    ? "ComboBox" + std::to_string(i + 1)
                                    : i < 12 ? "Check" + std::to_string(i - 7)
                                             : "ListBox" + std::to_string(i - 11);
            text += key + "=" + std::to_string(values[i]) + eol;
        }
        for (const char* line : {"Date=08/12/2026 at 16:05:09", "Xpos=-8", "Ypos=-2", "Xdim=485", "Ydim=535"}) {
            text += line + eol;
        }
        return text;
    }

    TempDir dir;
    ProgramValues values;
    LinkState link;
    PanelState panel;
};

TEST_F(PanelStateStore, NewFileHoldsCommonThenLastUseThenSerialDevices) {
    ASSERT_TRUE(SavePanelState(values, link, panel, kSaveTime).ok);
    EXPECT_EQ(dir.read("vistrel.INI"), "[Common]\nVersion=6.5.0\nCamera File=line scan.cam\nCOM Port=2\n"
                                       "BaudRate=19200\n" +
                                           lastUse("\n") + "[Serial Devices]\nCOM1=/dev/ttyS0\nCOM2=/dev/ttyUSB0\n");

    // Camera Link writes its two keys between "COM Port" and "BaudRate".
    TempDir other;
    values.SettingsPath = other.path() + "vistrel.INI";
    values.CamFileName = "";
    link.LinkKind = kLinkCameraLink;
    link.CameraLinkLibraryPath = "/usr/lib/libclsergrab.so";
    link.CameraLinkPort = -1;
    ASSERT_TRUE(SavePanelState(values, link, panel, kSaveTime).ok);
    const std::string head =
        "[Common]\nVersion=6.5.0\nCamera File=\nCOM Port=3\n"
        "CameraLink DLL=/usr/lib/libclsergrab.so\nCameraLink Port=-1\nBaudRate=19200\n[Last use]\n";
    EXPECT_EQ(other.read("vistrel.INI").substr(0, head.size()), head);
}

TEST_F(PanelStateStore, SaveOverAnOldFileKeepsForeignLinesAndCameraLinkKeys) {
    dir.write("vistrel.INI", "; written by hand\r\n"
                             "[Common]\r\n"
                             "Version=6.4.0\r\n"
                             "CameraLink DLL=/opt/grab/libclserx.so\r\n"
                             "CameraLink Port=2\r\n"
                             "COM Port=3\r\n"
                             "Note = kept\r\n"
                             "\r\n"
                             "[Last use]\r\n"
                             "ComboBox1=9\r\n"
                             "Hand added=1\r\n"
                             "[Mine]\r\n"
                             "a=b\r\n");
    ASSERT_TRUE(SavePanelState(values, link, panel, kSaveTime).ok);
    EXPECT_EQ(dir.read("vistrel.INI"), "; written by hand\r\n"
                                       "[Common]\r\n"
                                       "Version=6.5.0\r\n"
                                       "CameraLink DLL=/opt/grab/libclserx.so\r\n"
                                       "CameraLink Port=2\r\n"
                                       "COM Port=2\r\n"
                                       "Note = kept\r\n"
                                       "Camera File=line scan.cam\r\n"
                                       "BaudRate=19200\r\n"
                                       "\r\n"
                                       "[Mine]\r\n"
                                       "a=b\r\n" +
                                           lastUse("\r\n") +
                                           "[Serial Devices]\r\nCOM1=/dev/ttyS0\r\nCOM2=/dev/ttyUSB0\r\n");

    // Reading the control entries again leaves the window entries as they are.
    PanelState reloaded;
    reloaded.Xpos = 77;
    LoadPanelState(values.SettingsPath, reloaded);
    EXPECT_EQ(reloaded.ListBox, panel.ListBox);
    EXPECT_EQ(reloaded.Xpos, 77);
    EXPECT_EQ(reloaded.Ydim, 0);
}

TEST_F(PanelStateStore, UnwritableValuesAndUnreadableFilesWriteNothing) {
    const std::string before = "[Common]\nCOM Port=1\n";
    dir.write("vistrel.INI", before);
    values.CamFileName = "evil\n[Common]\nCOM Port=3";
    const ProfileResult refused = SavePanelState(values, link, panel, kSaveTime);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.reason.find("Camera File"), std::string::npos);
    EXPECT_EQ(dir.read("vistrel.INI"), before);

    // A settings path that is a folder cannot be read, so it is not replaced.
    values.CamFileName = "a.cam";
    values.SettingsPath = dir.path();
    EXPECT_FALSE(SavePanelState(values, link, panel, kSaveTime).ok);

    EXPECT_EQ(saveDateText(kSaveTime), "08/12/2026 at 16:05:09");
}

} // namespace
} // namespace vistrel
