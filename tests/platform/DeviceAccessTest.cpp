#include "platform/DeviceAccess.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vistrel {
namespace {

// The diagnosis as an unprivileged user (nobody): root may open anything, so a root test run asks
// from a child that gave up its rights. "fault|text".
std::string diagnoseAsNobody(const std::string& path) {
    int fds[2];
    if (pipe(fds) != 0) {
        return "pipe failed";
    }
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) {
            _exit(2);
        }
        const DeviceProblem problem = DiagnoseDevice(path, DeviceProbe::TryOpening);
        const std::string out = std::to_string(static_cast<int>(problem.fault)) + "|" + problem.text();
        _exit(::write(fds[1], out.data(), out.size()) == static_cast<ssize_t>(out.size()) ? 0 : 1);
    }
    close(fds[1]);
    std::string result;
    char buffer[512];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) {
        result.append(buffer, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return result;
}

TEST(DeviceAccess, SaysWhyADeviceCannotBeOpenedAndWhatToDo) {
    test::TempDir dir;
    fs::permissions(dir.path(), fs::perms::all); // searchable by the unprivileged child
    const std::string free = dir.write("free", "");
    const std::string groupOnly = dir.write("group-only", "");
    const struct group* dialout = getgrnam("dialout");
    if (dialout != nullptr && chown(groupOnly.c_str(), 0, dialout->gr_gid) != 0) {
        dialout = nullptr;
    }
    fs::permissions(groupOnly,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::group_write);
    const std::string rootOnly = dir.write("root-only", "");
    fs::permissions(rootOnly, fs::perms::owner_read | fs::perms::owner_write);
    // A /proc of our own: process 4242, minicom, holds the device.
    const std::string held = dir.write("held", "");
    dir.write("proc/4242/comm", "minicom\n");
    fs::create_directories(dir.path() + "proc/4242/fd");
    fs::create_symlink(held, dir.path() + "proc/4242/fd/7");
    dir.write("proc/self-test/comm", "not a process folder\n");

    struct Case {
        std::string path;
        DeviceProbe probe;
        bool asNobody; // needs root to become an unprivileged user
        DeviceFault fault;
        std::vector<std::string> saying;
    };
    const std::vector<Case> cases = {
        {free, DeviceProbe::TryOpening, false, DeviceFault::None, {}},
        {dir.path() + "absent",
         DeviceProbe::LookOnly,
         false,
         DeviceFault::Missing,
         {"no such device: " + dir.path() + "absent", "plug the adapter in"}},
        {held, DeviceProbe::LookOnly, false, DeviceFault::Busy, {held + " is in use by process 4242 (minicom)"}},
        {dir.path(), DeviceProbe::TryOpening, false, DeviceFault::Other, {"cannot open " + dir.path() + ": "}},
        {rootOnly,
         DeviceProbe::TryOpening,
         true,
         DeviceFault::OwnerOnly,
         {"only root may open " + rootOnly, "mode 600", "udev rule"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        if (c.asNobody) {
            if (geteuid() != 0) {
                continue;
            }
            const std::string got = diagnoseAsNobody(c.path);
            EXPECT_EQ(got.substr(0, got.find('|')), std::to_string(static_cast<int>(c.fault))) << got;
            for (const std::string& part : c.saying) {
                EXPECT_NE(got.find(part), std::string::npos) << got;
            }
            continue;
        }
        const DeviceProblem problem = DiagnoseDevice(c.path, c.probe, dir.path() + "proc");
        EXPECT_EQ(problem.fault, c.fault) << problem.text();
        EXPECT_EQ(problem.text().empty(), c.saying.empty());
        for (const std::string& part : c.saying) {
            EXPECT_NE(problem.text().find(part), std::string::npos) << problem.text();
        }
    }

    // The device's group may open it: the message names the group and the command that joins it.
    if (geteuid() == 0 && dialout != nullptr) {
        const std::string got = diagnoseAsNobody(groupOnly);
        EXPECT_EQ(got.substr(0, got.find('|')), std::to_string(static_cast<int>(DeviceFault::NotInGroup)));
        EXPECT_NE(got.find("belongs to the group dialout"), std::string::npos) << got;
        EXPECT_NE(got.find("\"sudo adduser $USER dialout\", then log out and log in again"), std::string::npos) << got;
    }

    // Another link holds the device's lock: in use, though /proc names nobody else.
    const int holder = open(free.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
    const DeviceProblem locked = DiagnoseDevice(free, DeviceProbe::TryOpening, dir.path() + "proc");
    EXPECT_EQ(locked.fault, DeviceFault::Busy);
    EXPECT_NE(locked.reason.find("in use by another program"), std::string::npos) << locked.reason;
    EXPECT_EQ(DiagnoseDevice(free, DeviceProbe::LookOnly, dir.path() + "proc").fault, DeviceFault::None)
        << "looking only never takes the lock";
    close(holder);
}

} // namespace
} // namespace vistrel
