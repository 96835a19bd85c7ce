// The program itself, started as a desktop session without a display would start it.
#include "support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vistrel {
namespace {

// Runs the program with one argument, no display of any kind and XDG_DATA_HOME set to `dataHome`;
// its exit code, or -1 when it died or outlived the time limit.
int runWithoutDisplay(const std::string& argument, const std::string& dataHome) {
    const pid_t child = ::fork();
    if (child == 0) {
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

} // namespace
} // namespace vistrel
