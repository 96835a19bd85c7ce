#include "shell/SystemFacts.h"

#include <sys/statvfs.h>
#include <sys/sysinfo.h>

namespace vistrel {

std::uint64_t physicalMemoryBytes() {
    struct sysinfo info {};
    if (::sysinfo(&info) != 0) {
        return 0; // not expected on Linux; the line then shows 0 KB
    }
    const std::uint64_t unit = info.mem_unit == 0 ? 1 : info.mem_unit;
    return static_cast<std::uint64_t>(info.totalram) * unit;
}

std::optional<std::uint64_t> freeDiskBytesAt(const char* path) {
    struct statvfs fs {};
    if (::statvfs(path, &fs) != 0) {
        return std::nullopt;
    }
    // Available blocks rather than free ones: what this user can still write, after the blocks
    // kept for root.
    return static_cast<std::uint64_t>(fs.f_bavail) * static_cast<std::uint64_t>(fs.f_frsize);
}

SystemQueries systemQueries() {
    return {physicalMemoryBytes, [] { return freeDiskBytesAt("."); }};
}

} // namespace vistrel
