#include "link/LinkWords.h"

#include "link/ComPortChoice.h"

namespace vistrel {

std::string linkInWords(const LinkState& link) {
    if (link.LinkKind == kLinkCameraLink) {
        const std::string& path = link.CameraLinkLibraryPath;
        const std::size_t slash = path.find_last_of('/');
        const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
        return "Camera Link port " + std::to_string(link.CameraLinkPort) + " (" + file + ")";
    }
    return "COM" + std::to_string(link.LinkKind) + " " + ComDeviceOf(link, link.LinkKind) + " " +
           std::to_string(link.LinkBaudRate) + " bd";
}

} // namespace vistrel
