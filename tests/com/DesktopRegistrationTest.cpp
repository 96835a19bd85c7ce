#include "com/DesktopRegistration.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace vistrel {
namespace {

using test::TempDir;

TEST(DesktopRegistration, SwitchesAreFoundAfterDashOrSlashInAnyCase) {
    EXPECT_EQ(findRegistrationSwitch({"-RegServer"}), RegistrationSwitch::Register);
    EXPECT_EQ(findRegistrationSwitch({"x", "/REGSERVER"}), RegistrationSwitch::Register);
    EXPECT_EQ(findRegistrationSwitch({"/unregserver"}), RegistrationSwitch::Unregister);
    EXPECT_EQ(findRegistrationSwitch({"RegServer", "--RegServer", "-RegServers", "-"}), RegistrationSwitch::None);
    EXPECT_EQ(findRegistrationSwitch({}), RegistrationSwitch::None);
    EXPECT_TRUE(hasAutomationSwitch({"/Embedding"}));
    EXPECT_TRUE(hasAutomationSwitch({"a", "-AUTOMATION"}));
    EXPECT_FALSE(hasAutomationSwitch({"Embedding", "/Embed"}));
}

TEST(DesktopRegistration, EntryIsWrittenQuotedAndRemoved) {
    TempDir dir;
    const std::string folder = dir.path() + "data/applications";
    const std::string program = "/opt/my \"tools\"/100%/$HOME\\vistrel";
    ASSERT_TRUE(registerDesktopEntry(folder, program).ok);
    const std::string entry = dir.read("data/applications/vistrel.desktop");
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0U);
    EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos);
    EXPECT_NE(entry.find("\nExec=\"/opt/my \\\\\"tools\\\\\"/100%%/\\\\$HOME\\\\\\\\vistrel\"\n"), std::string::npos);

    ASSERT_TRUE(unregisterDesktopEntry(folder).ok);
    EXPECT_EQ(test::entriesOf(folder), 0U);
    EXPECT_TRUE(unregisterDesktopEntry(folder).ok); // already gone

    EXPECT_FALSE(registerDesktopEntry(folder, "/a\nb").ok);
    EXPECT_FALSE(registerDesktopEntry("", "/a").ok);
    dir.write("file", "x");
    EXPECT_FALSE(registerDesktopEntry(dir.path() + "file/applications", "/a").ok);

    // The folder comes from XDG_DATA_HOME, else from HOME.
    const char* oldData = std::getenv("XDG_DATA_HOME");
    const std::string savedData = oldData != nullptr ? oldData : "";
    ::setenv("XDG_DATA_HOME", "/x/data", 1);
    EXPECT_EQ(applicationsFolder(), "/x/data/applications");
    ::setenv("XDG_DATA_HOME", "relative", 1);
    ::setenv("HOME", "/home/u", 1);
    EXPECT_EQ(applicationsFolder(), "/home/u/.local/share/applications");
    if (oldData != nullptr) {
        ::setenv("XDG_DATA_HOME", savedData.c_str(), 1);
    } else {
        ::unsetenv("XDG_DATA_HOME");
    }
}

} // namespace
} // namespace vistrel
