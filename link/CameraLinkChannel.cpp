#include "link/CameraLinkChannel.h"

#include "link/CameraLinkCalls.h"
#include "link/CameraLinkLibrary.h"

#include <cstdio>

namespace vistrel {

int OpenCameraLinkChannel(LinkState& link, char* status) {
    if (!IsCameraLinkBound(link)) {
        std::snprintf(status, kLinkStatusCapacity, "%s", kTextConnexionError);
        return 0;
    }
    // A channel still open from before is closed rather than leaked.
    link.SerialRef.close();
    void* ref = nullptr;
    // -1 (the port dialog confirmed with an empty list) goes to the library as the interface's
    // unsigned index; what it makes of it is its own affair.
    const std::optional<int> opened = GuardedSerialInit(link, static_cast<unsigned int>(link.CameraLinkPort), &ref);
    if (opened != 0) {
        std::snprintf(status, kLinkStatusCapacity, "%s", opened ? kTextConnexionError : kTextGrabberNotResponding);
        return 0;
    }
    // The closer holds what it needs itself: the channel may be closed wherever its state went.
    link.SerialRef = CameraLinkSerialChannel(
        [guard = link.CameraLinkCalls, close = link.CameraLinkLibrary.entryPoints().clSerialClose](void* channel) {
            GuardedSerialClose(*guard, close, channel);
        },
        ref);
    link.CameraLinkUnanswered = false;
    std::snprintf(status, kLinkStatusCapacity, "%s", kTextConnexionOk);
    return 1;
}

void CloseCameraLinkChannel(LinkState& link, char* status) {
    link.SerialRef.close();
    std::snprintf(status, kLinkStatusCapacity, "%s", kTextConnexionClosed);
}

} // namespace vistrel
