#include "link/SerialDeviceSettings.h"

#include "platform/Profile.h"

#include <climits>

namespace vistrel {

void readSerialDevices(std::string_view settingsContents, LinkState& link) {
    const char* const keys[2] = {"COM1", "COM2"};
    for (int i = 0; i < 2; ++i) {
        std::string device = readProfileString(settingsContents, kSerialDevicesSection, keys[i], "", PATH_MAX);
        if (!device.empty()) {
            link.ComDevice[i] = std::move(device);
        }
    }
}

} // namespace vistrel
