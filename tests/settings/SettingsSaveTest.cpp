#include "settings/SettingsSave.h"
#include "settings/LastUseSection.h"
#include "settings/SaveDate.h"
#include "settings/StartupSettings.h"
#include "shell/Startup.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

namespace vistrel {
namespace {

using test::TempDir;

// Switches the process to a locale whose "%X" is not the C one (en_US writes "04:05:09 PM"),
// built with localedef into `dir` when the system has none, and back to "C" at the end.
class TwelveHourLocale {
public:
    explicit TwelveHourLocale(const TempDir& dir) {
        if (std::setlocale(LC_ALL, "en_US.UTF-8") != nullptr) {
            m_active = true;
            return;
        }
        const std::string build = "localedef -i en_US -f UTF-8 '" + dir.path() + "en_US.UTF-8' >/dev/null 2>&1";
        // Warnings give a non-zero code with a usable locale: whether it is usable is asked below.
        [[maybe_unused]] const int status = std::system(build.c_str());
        ::setenv("LOCPATH", dir.path().c_str(), 1);
        m_active = std::setlocale(LC_ALL, "en_US.UTF-8") != nullptr;
    }
    ~TwelveHourLocale() {
        std::setlocale(LC_ALL, "C");
        ::unsetenv("LOCPATH");
    }
    TwelveHourLocale(const TwelveHourLocale&) = delete;
    TwelveHourLocale& operator=(const TwelveHourLocale&) = delete;
    bool active() const { return m_active; }

private:
    bool m_active = false;
};

// 8 December 2026, 16:05:09 UTC.
constexpr std::time_t kSaveTime = 1796745909;

class SettingsSave : public ::testing::Test {
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
        panel.ListBox = {"250", "", "-3", "", "7"};
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
    RunValues values;
    LinkState link;
    PanelState panel;
};

TEST_F(SettingsSave, NewFileHoldsCommonThenLastUseThenSerialDevices) {
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

TEST_F(SettingsSave, SaveOverAnOldFileKeepsForeignLinesAndCameraLinkKeys) {
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

TEST_F(SettingsSave, UnwritableValuesAndUnreadableFilesWriteNothing) {
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

TEST_F(SettingsSave, DateIsOnTheTwentyFourHourClockInAnyLocale) {
    TempDir localeDir;
    TwelveHourLocale locale(localeDir);
    if (!locale.active()) {
        GTEST_SKIP() << "no en_US locale on this machine, and localedef could not build one";
    }
    std::tm afternoon{};
    afternoon.tm_hour = 16;
    char inLocale[32] = {};
    std::strftime(inLocale, sizeof inLocale, "%X", &afternoon);
    ASSERT_STRNE(inLocale, "16:00:00") << "the locale in force writes the time as C does";

    EXPECT_EQ(saveDateText(kSaveTime), "08/12/2026 at 16:05:09");
    ASSERT_TRUE(SavePanelState(values, link, panel, kSaveTime).ok);
    EXPECT_NE(dir.read("vistrel.INI").find("\nDate=08/12/2026 at 16:05:09\n"), std::string::npos);
}

TEST_F(SettingsSave, LongCameraLinkLibraryPathSurvivesSaveAndStartUp) {
    const std::string library = dir.path() + std::string(200 - dir.path().size() - 9, 'd') + "/libcl.so";
    ASSERT_EQ(library.size(), 200u);
    link.LinkKind = kLinkCameraLink;
    link.CameraLinkLibraryPath = library;
    link.CameraLinkPort = 1;
    ASSERT_TRUE(SavePanelState(values, link, panel, kSaveTime).ok);

    RunValues started;
    started.AppDirectory = dir.path();
    started.SettingsPath = values.SettingsPath;
    LinkState startedLink;
    PanelState startedPanel;
    test::ScriptedPrompts prompts;
    takeUpStartupSettings(ReadStartupSettings(started), {}, started, startedLink, startedPanel, prompts);
    EXPECT_EQ(startedLink.LinkKind, kLinkCameraLink);
    EXPECT_EQ(startedLink.CameraLinkLibraryPath, library);
    EXPECT_EQ(startedLink.CameraLinkPort, 1);
    EXPECT_EQ(startedPanel.ListBox, panel.ListBox);
}

} // namespace
} // namespace vistrel
