#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vistrel {

// The program's version, fixed in the program: major, minor, release.
inline constexpr int kVersionMajor = 6;
inline constexpr int kVersionMinor = 5;
inline constexpr int kVersionRelease = 0;

// The About box's version line: "%s %d.%d.%d Beta" of the version control's own text and the
// version numbers.
std::string aboutVersionLine(std::string_view controlText);

// The About box's system line: "Physical Memory : %d KB", "  -  ", then "Disk Space : %d MB Free",
// or nothing after the dash when the free space is not known. Kilobytes and megabytes are rounded
// down and kept in 64 bits, so no size of memory or disk can show as a negative number.
std::string aboutSystemLine(std::uint64_t physicalMemoryBytes, std::optional<std::uint64_t> freeDiskBytes);

} // namespace vistrel
