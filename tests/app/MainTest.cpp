// The program itself, started as a desktop session without a display would start it.
#include "support/TempDir.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vistrel {
namespace {

// Runs the program with one argument, no display of any kind and XDG_DATA_HOME set to `dataHome`,
// its standard output into `output` when given; its exit code, or -1 when it died or outlived the
// time limit.
int runWithoutDisplay(const std::string& argument, const std::string& dataHome, const std::string& output = {}) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (!output.empty() && !std::freopen(output.c_str(), "w", stdout)) {
            ::_exit(126);
        }
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            ::unsetenv(name);
        }
        ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
        ::alarm(20);
        ::execl(VISTREL_PATH, VISTREL_PATH, argument.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

TEST(Main, RegistrationAndAutomationSwitchesWorkWithoutADisplay) {
    test::TempDir dir;
    const std::string entry = dir.path() + "applications/vistrel.desktop";
    EXPECT_EQ(runWithoutDisplay("-RegServer", dir.path()), 0);
    EXPECT_TRUE(exists(entry));
    EXPECT_EQ(runWithoutDisplay("/unregserver", dir.path()), 0);
    EXPECT_FALSE(exists(entry));
    EXPECT_EQ(runWithoutDisplay("-Embedding", dir.path()), 0);
    EXPECT_EQ(runWithoutDisplay("/Automation", dir.path()), 0);
    EXPECT_FALSE(exists(entry));

    // A registration that cannot be written says so and fails, still without a display.
    const std::string blocker = dir.write("blocker", "a file where the folder should be");
    EXPECT_EQ(runWithoutDisplay("-RegServer", blocker), 1);
}

TEST(Main, HelpAndVersionAnswerOnStandardOutputWithoutADisplay) {
    test::TempDir dir;
    EXPECT_EQ(runWithoutDisplay("--help", dir.path(), dir.path() + "help"), 0);
    EXPECT_EQ(dir.read("help").rfind("Usage: vistrel [-RegServer | -UnregServer | --help | --version]\n", 0), 0u);
    EXPECT_EQ(runWithoutDisplay("--version", dir.path(), dir.path() + "version"), 0);
    EXPECT_EQ(dir.read("version").rfind("vistrel (Vistrel) 6.5.0\n", 0), 0u);
    // Any other argument still opens the window, which without a display cannot be.
    EXPECT_NE(runWithoutDisplay("--helpful", dir.path()), 0);
    EXPECT_EQ(test::entriesOf(dir.path()), 2u) << "no window, no other file";
}

} // namespace
} // namespace vistrel
