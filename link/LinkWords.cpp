#include "link/LinkWords.h"

#include "link/ComPortChoice.h"

#include <filesystem>

namespace vistrel {

std::string linkInWords(const LinkState& link) {
    if (link.LinkKind == kLinkCameraLink) {
        return "Camera Link port " + std::to_string(link.CameraLinkPort) + " (" +
               std::filesystem::path(link.CameraLinkLibraryPath).filename().string() + ")";
    }
    return "COM" + std::to_string(link.LinkKind) + " " + ComDeviceOf(link, link.LinkKind) + " " +
           std::to_string(link.LinkBaudRate) + " bd";
}

} // namespace vistrel
