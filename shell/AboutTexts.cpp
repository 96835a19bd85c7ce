#include "shell/AboutTexts.h"

#include <string>

namespace vistrel {

std::string aboutVersionLine(std::string_view controlText) {
    std::string line(controlText);
    line += ' ';
    line += std::to_string(kVersionMajor) + '.' + std::to_string(kVersionMinor) + '.' +
            std::to_string(kVersionRelease) + " Beta";
    return line;
}

std::string aboutSystemLine(std::uint64_t physicalMemoryBytes, std::optional<std::uint64_t> freeDiskBytes) {
    std::string line = "Physical Memory : " + std::to_string(physicalMemoryBytes >> 10) + " KB";
    line += "  -  ";
    if (freeDiskBytes) {
        line += "Disk Space : " + std::to_string(*freeDiskBytes / 1048576) + " MB Free";
    }
    return line;
}

} // namespace vistrel
