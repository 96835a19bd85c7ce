#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace vistrel {

// The two facts the About box shows about the computer, queried afresh at each opening. A seam:
// tests hand in queries with the figures they need.
struct SystemQueries {
    std::function<std::uint64_t()> physicalMemoryBytes;
    // Empty when the free space cannot be had.
    std::function<std::optional<std::uint64_t>()> freeDiskBytes;
};

// Installed physical memory in bytes (sysinfo: total RAM times its memory unit).
std::uint64_t physicalMemoryBytes();

// Space free to the user on the file system holding `path` in bytes (statvfs: blocks available to
// unprivileged users times the fragment size); empty when the query fails.
std::optional<std::uint64_t> freeDiskBytesAt(const char* path);

// The queries of the running system: physical memory, and free space of the current directory.
SystemQueries systemQueries();

} // namespace vistrel
