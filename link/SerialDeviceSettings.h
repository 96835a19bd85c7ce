#pragma once

#include "link/LinkState.h"

#include <string>
#include <string_view>

namespace vistrel {

inline constexpr const char* kSerialDevicesSection = "Serial Devices";

// The serial devices COM1 and COM2 stand for, from section "Serial Devices" (keys "COM1", "COM2").
// An absent or empty key keeps the default device.
void readSerialDevices(std::string_view settingsContents, LinkState& link);

} // namespace vistrel
