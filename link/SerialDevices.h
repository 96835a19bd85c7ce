#pragma once

#include <string>
#include <vector>

namespace vistrel {

// A serial device present on the machine. For USB adapters the maker, product and serial number
// come from sysfs (each empty when the adapter does not say).
struct SerialDevice {
    std::string path;       // as the user names it: /dev/ttyUSB0, /dev/serial/by-id/...
    std::string kernelName; // the tty it stands for: ttyUSB0
    std::string maker;
    std::string product;
    std::string serialNumber;
};

// The serial devices present: /dev/ttyS* that stand for a real port, /dev/ttyUSB*, /dev/ttyACM*,
// and the stable names under /dev/serial/by-id/, each list in natural order. `devRoot` and `sysRoot`
// stand for /dev and /sys (tests give folders of their own).
std::vector<SerialDevice> ListSerialDevices(const std::string& devRoot = "/dev", const std::string& sysRoot = "/sys");

// Why the device cannot be opened for reading and writing when the reason is a lack of permission,
// with the hint to join the device's group; empty otherwise.
std::string DevicePermissionProblem(const std::string& path);

} // namespace vistrel
