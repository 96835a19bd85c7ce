#include "platform/DeviceAccess.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace vistrel {

namespace {

constexpr const char* kOtherDeviceRemedy =
    "plug the adapter in, or map the port to a device that is present (\"COM PORT ...\" in the program, "
    "\"vistrelctl ports\" in a terminal)";
constexpr const char* kEndHolderRemedy = "end that program or let it close the device, then connect again";

std::string groupName(gid_t gid) {
    const struct group* entry = getgrgid(gid);
    return entry != nullptr ? entry->gr_name : std::to_string(gid);
}

std::string userName(uid_t uid) {
    const struct passwd* entry = getpwuid(uid);
    return entry != nullptr ? entry->pw_name : std::to_string(uid);
}

// Whether the account of this process belongs to `gid` by the group database, whatever groups
// this login session started with.
bool accountInGroup(gid_t gid) {
    const struct passwd* user = getpwuid(getuid());
    if (user == nullptr) {
        return false;
    }
    if (user->pw_gid == gid) {
        return true;
    }
    const struct group* entry = getgrgid(gid);
    for (char** member = entry != nullptr ? entry->gr_mem : nullptr; member != nullptr && *member != nullptr;
         ++member) {
        if (std::strcmp(*member, user->pw_name) == 0) {
            return true;
        }
    }
    return false;
}

std::string firstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// Processes other than this one with `device` open, as "812 (minicom)"; only those whose open
// files /proc lets this user see.
std::vector<std::string> holdersOf(const fs::path& device, const std::string& procRoot) {
    std::vector<std::string> holders;
    const std::string self = std::to_string(getpid());
    std::error_code error;
    for (fs::directory_iterator process(procRoot, error), end; !error && process != end; process.increment(error)) {
        const std::string pid = process->path().filename().string();
        if (pid.empty() || pid == self || !std::all_of(pid.begin(), pid.end(), ::isdigit)) {
            continue;
        }
        std::error_code fdError;
        for (fs::directory_iterator fd(process->path() / "fd", fdError), last; !fdError && fd != last;
             fd.increment(fdError)) {
            std::error_code linkError;
            if (fs::read_symlink(fd->path(), linkError) == device && !linkError) {
                holders.push_back(pid + " (" + firstLine(process->path() / "comm") + ")");
                break;
            }
        }
    }
    return holders;
}

DeviceProblem busy(const std::string& path, const std::vector<std::string>& holders) {
    if (holders.empty()) {
        return {DeviceFault::Busy, path + " is in use by another program",
                "end the program that holds it (a terminal program, a second Vistrel), then connect again"};
    }
    std::string names;
    for (const std::string& holder : holders) {
        names += (names.empty() ? "" : ", ") + holder;
    }
    return {DeviceFault::Busy, path + " is in use by process " + names, kEndHolderRemedy};
}

DeviceProblem permissionProblem(const std::string& path, const struct stat& info) {
    const bool groupMayOpen = (info.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    if (!groupMayOpen || info.st_gid == 0) {
        const std::string owner = userName(info.st_uid);
        char mode[8];
        std::snprintf(mode, sizeof mode, "%03o", static_cast<unsigned>(info.st_mode & 0777));
        return {DeviceFault::OwnerOnly,
                "permission denied: only " + owner + " may open " + path + " (owner " + owner + ", group " +
                    groupName(info.st_gid) + ", mode " + mode + ")",
                "ask the administrator to give it a group that may open it (a udev rule with GROUP=\"dialout\" "
                "and MODE=\"0660\"), then join that group"};
    }
    const std::string group = groupName(info.st_gid);
    if (accountInGroup(info.st_gid)) {
        return {DeviceFault::NotInGroup,
                "permission denied on " + path + ": this user joined the group " + group +
                    " after logging in, so this session does not have it yet",
                "log out and log in again (or run \"newgrp " + group + "\" in a terminal)"};
    }
    return {DeviceFault::NotInGroup,
            "permission denied on " + path + ": the device belongs to the group " + group +
                ", and this user is not in it",
            "run \"sudo adduser $USER " + group + "\", then log out and log in again"};
}

} // namespace

DeviceProblem DiagnoseDevice(const std::string& path, DeviceProbe probe, const std::string& procRoot) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return {DeviceFault::Missing, "no such device: " + path, kOtherDeviceRemedy};
    }
    if (access(path.c_str(), R_OK | W_OK) != 0 && (errno == EACCES || errno == EPERM)) {
        return permissionProblem(path, info);
    }
    std::error_code error;
    const fs::path device = fs::canonical(path, error);
    const std::vector<std::string> holders = error ? std::vector<std::string>() : holdersOf(device, procRoot);
    if (!holders.empty()) {
        return busy(path, holders);
    }
    if (probe == DeviceProbe::LookOnly) {
        return {};
    }

    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int cause = errno;
        if (cause == EBUSY) {
            return busy(path, {});
        }
        if (cause == ENXIO || cause == ENODEV || cause == ENOENT) {
            return {DeviceFault::Missing, "no serial port answers at " + path, kOtherDeviceRemedy};
        }
        if (cause == EACCES || cause == EPERM) {
            return permissionProblem(path, info);
        }
        return {DeviceFault::Other, "cannot open " + path + ": " + std::strerror(cause),
                "check the device, or map the port to another one"};
    }
    // The serial link takes this lock: another link holds the device when it is taken.
    const bool locked = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(fd);
    return locked ? busy(path, {}) : DeviceProblem{};
}

} // namespace vistrel
