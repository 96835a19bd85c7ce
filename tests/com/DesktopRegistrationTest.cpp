#include "com/DesktopRegistration.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

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
}

TEST(DesktopRegistration, RegisteredEntryMatchesTheInstalledOneButForItsCommand) {
    // The user's entry replaces the installed one in the menu: same file name, same texts and icon.
    std::ifstream installedFile(INSTALLED_DESKTOP_ENTRY);
    ASSERT_TRUE(installedFile) << INSTALLED_DESKTOP_ENTRY;
    std::stringstream installed;
    installed << installedFile.rdbuf();
    std::string expected = desktopEntryText("/usr/lib/vistrel/vistrel");
    const std::size_t exec = expected.find("Exec=");
    expected.replace(exec, expected.find('\n', exec) - exec, "Exec=vistrel");
    EXPECT_EQ(installed.str(), expected);
}

} // namespace
} // namespace vistrel
