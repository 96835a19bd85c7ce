#include "link/LinkWords.h"

#include "link/ComPortChoice.h"
#include "link/SerialDevices.h"

namespace vistrel {

namespace {

std::string inWords(const LinkState& link, const std::string& device) {
    if (link.LinkKind == kLinkCameraLink) {
        const std::string& path = link.CameraLinkLibraryPath;
        const std::size_t slash = path.find_last_of('/');
        const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
        return "Camera Link port " + std::to_string(link.CameraLinkPort) + " (" + file + ")";
    }
    return "COM" + std::to_string(link.LinkKind) + " " + device + " " + std::to_string(link.LinkBaudRate) + " bd";
}

} // namespace

std::string linkInWords(const LinkState& link) {
    return inWords(link, link.LinkKind == kLinkCameraLink ? std::string() : ComDeviceOf(link, link.LinkKind));
}

std::string linkInStableWords(const LinkState& link) {
    return inWords(link, link.LinkKind == kLinkCameraLink ? std::string()
                                                          : StableDeviceName(ComDeviceOf(link, link.LinkKind)));
}

} // namespace vistrel
