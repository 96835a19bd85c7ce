#include "link/CameraLinkPorts.h"

#include "link/CameraLinkLibrary.h"

namespace vistrel {

std::vector<int> ListCameraLinkPorts(const LinkState& link) {
    std::vector<int> ports;
    if (!IsCameraLinkBound(link)) {
        return ports;
    }
    const CameraLinkEntryPoints& entry = link.CameraLinkLibrary.entryPoints();
    for (int n = 0; n <= kClMaxProbedPort; ++n) {
        void* ref = nullptr;
        if (entry.clSerialInit(static_cast<unsigned int>(n), &ref) != 0) {
            break;
        }
        ports.push_back(n);
        entry.clSerialClose(ref);
    }
    return ports;
}

std::string CameraLinkPortItemText(int port) {
    return "CameraLink Port " + std::to_string(port);
}

} // namespace vistrel
