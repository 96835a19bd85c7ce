#pragma once

#include <cstddef>

namespace vistrel {

// The sections of the settings file.
inline constexpr const char* kCommonSection = "Common";
inline constexpr const char* kLastUseSection = "Last use";
inline constexpr const char* kSerialDevicesSection = "Serial Devices";

// Capacity of the buffers text values are read into: values are cut to 99 characters.
inline constexpr std::size_t kSettingsValueCapacity = 100;

} // namespace vistrel
