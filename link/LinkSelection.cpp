#include "link/LinkSelection.h"

namespace vistrel {

void SelectComLink(LinkState& link, int port, const CameraLinkRelease& releaseCameraLink) {
    if (link.LinkKind == kLinkCameraLink && releaseCameraLink) {
        releaseCameraLink(link);
    }
    link.LinkKind = port;
    link.SettingsChanged = 1;
}

} // namespace vistrel
