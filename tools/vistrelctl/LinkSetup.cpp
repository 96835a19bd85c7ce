#include "tools/vistrelctl/LinkSetup.h"

#include "link/CameraLinkLibrary.h"
#include "link/ComPortChoice.h"

#include <cstdio>

namespace vistrel::ctl {

bool setUpLink(const SendOptions& options, LinkState& link, Prompts& prompts) {
    link.LinkKind = options.linkKind;
    link.LinkBaudRate = options.baud;
    if (options.linkKind != kLinkCameraLink) {
        link.ComDevice[options.linkKind == kLinkCom2 ? 1 : 0] = options.device;
        return true;
    }
    link.CameraLinkPort = options.port;
    return LoadCameraLinkLibrary(link, prompts, options.library) == CameraLinkLoad::Bound;
}

std::optional<int> reportGrabberStuck(const LinkState& link) {
    if (!link.CameraLinkCalls->stuck()) {
        return std::nullopt;
    }
    std::fprintf(stderr, "vistrelctl: %s\n", kTextGrabberNotResponding);
    return kLinkExitNoLink;
}

int reportLinkNotOpened(const LinkState& link, const std::string& status, const std::string& reason) {
    const bool cameraLink = link.LinkKind == kLinkCameraLink;
    const std::string linkName = cameraLink ? "the Camera Link port" : ComDeviceOf(link, link.LinkKind);
    std::fprintf(stderr, "vistrelctl: cannot open %s: %s\n", linkName.c_str(), status.c_str());
    if (!reason.empty()) {
        std::fprintf(stderr, "vistrelctl: %s\n", reason.c_str());
    }
    return kLinkExitNoLink;
}

} // namespace vistrel::ctl
