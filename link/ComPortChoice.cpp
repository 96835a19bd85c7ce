#include "link/ComPortChoice.h"

#include "link/CameraLinkLibrary.h"

namespace vistrel {

int PreselectedComPortIndex(const LinkState& link) {
    return (link.LinkKind == kLinkCom1 || link.LinkKind == kLinkCom2) ? link.LinkKind - 1 : 0;
}

int BaudRateIndexOnOpening(LinkState& link) {
    for (int i = 0; i < 3; ++i) {
        if (link.LinkBaudRate == kBaudRates[i]) {
            return i;
        }
    }
    link.LinkBaudRate = kBaudRates[0];
    return 0;
}

int BaudRateOfIndex(int index) {
    return (index == 1 || index == 2) ? kBaudRates[index] : kBaudRates[0];
}

void ApplyComPortChoice(LinkState& link, Prompts& prompts, int portIndex) {
    if (link.LinkKind == kLinkCameraLink) {
        ReleaseCameraLinkLibrary(link, prompts);
    }
    link.LinkKind = portIndex == 1 ? kLinkCom2 : kLinkCom1;
    link.SettingsChanged = 1;
}

std::string ComDeviceOf(const LinkState& link, int comNumber) {
    const int slot = comNumber == 2 ? 1 : 0;
    if (!link.ComDevice[slot].empty()) {
        return link.ComDevice[slot];
    }
    return kDefaultComDevice[slot];
}

} // namespace vistrel
