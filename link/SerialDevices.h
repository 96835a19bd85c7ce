#pragma once

#include <string>
#include <vector>

namespace vistrel {

// A serial device present on the machine. For USB adapters the vendor and product ids, the maker,
// product and serial number come from sysfs (each empty when the adapter does not say).
struct SerialDevice {
    std::string path;       // as the user names it: /dev/ttyUSB0, /dev/serial/by-id/...
    std::string kernelName; // the tty it stands for: ttyUSB0
    std::string stableName; // for a kernel name: its /dev/serial/by-id/ name, when it has one
    std::string vendorId;   // USB ids, four hexadecimal digits: 0403
    std::string productId;
    std::string maker;
    std::string product;
    std::string serialNumber;

    bool isUsb() const { return !vendorId.empty(); }
    // "ttyUSB0, USB 0403:6001 FTDI FT232R USB UART, serial A50285BI": what the device is, for a
    // list beside its path (the kernel name only for a stable name).
    std::string details() const;
};

// The serial devices present: /dev/ttyS* that stand for a real port, /dev/ttyUSB*, /dev/ttyACM*,
// and the stable names under /dev/serial/by-id/, each list in natural order. `devRoot` and `sysRoot`
// stand for /dev and /sys (tests give folders of their own).
std::vector<SerialDevice> ListSerialDevices(const std::string& devRoot = "/dev", const std::string& sysRoot = "/sys");

// `device` by its /dev/serial/by-id/ name when it has one (the name that still finds a USB adapter
// after it is replugged elsewhere or the machine restarts), else `device` as it is.
std::string StableDeviceName(const std::string& device, const std::string& devRoot = "/dev");

} // namespace vistrel
