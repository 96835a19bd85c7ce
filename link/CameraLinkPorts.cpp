#include "link/CameraLinkPorts.h"

#include "link/CameraLinkCalls.h"
#include "link/CameraLinkLibrary.h"

namespace vistrel {

std::vector<int> ListCameraLinkPorts(LinkState& link) {
    std::vector<int> ports;
    if (!IsCameraLinkBound(link)) {
        return ports;
    }
    for (int n = 0; n <= kClMaxProbedPort; ++n) {
        void* ref = nullptr;
        if (GuardedSerialInit(link, static_cast<unsigned int>(n), &ref) != 0) {
            break;
        }
        ports.push_back(n);
        GuardedSerialClose(link, ref);
        if (!IsCameraLinkBound(link)) {
            break; // the close never came back
        }
    }
    return ports;
}

std::string CameraLinkPortItemText(int port) {
    return "CameraLink Port " + std::to_string(port);
}

} // namespace vistrel
