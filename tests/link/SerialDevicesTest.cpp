#include "link/SerialDevices.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace vistrel {
namespace {

// What a camera settings file records as the device: the adapter's by-id name, however it was named.
TEST(SerialDevices, StableNameIsTheByIdLinkOfTheSameDevice) {
    test::TempDir root;
    const std::string dev = root.path() + "dev";
    root.write("dev/ttyUSB0", "");
    root.write("dev/ttyUSB1", "");
    fs::create_directories(dev + "/serial/by-id");
    const std::string byId = dev + "/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
    fs::create_symlink("../../ttyUSB0", byId);
    fs::create_symlink(dev + "/ttyUSB0", root.path() + "camera1"); // a link of the user's own
    const std::pair<std::string, std::string> cases[] = {
        {dev + "/ttyUSB0", byId},
        {root.path() + "camera1", byId},
        {byId, byId},
        {dev + "/ttyUSB1", dev + "/ttyUSB1"}, // no stable name
        {dev + "/ttyUSB9", dev + "/ttyUSB9"}, // not there
        {"rfc2217://station3:4001", "rfc2217://station3:4001"},
    };
    for (const auto& [device, expected] : cases) {
        EXPECT_EQ(StableDeviceName(device, dev), expected) << device;
    }
}

TEST(SerialDevices, ListsRealPortsAdaptersAndStableNamesWithUsbDetails) {
    test::TempDir root;
    const std::string dev = root.path() + "dev";
    const std::string sys = root.path() + "sys";
    for (const char* name : {"ttyS0", "ttyS1", "ttyS10", "ttyS2", "ttyUSB1", "ttyUSB0", "ttyACM0", "tty0", "ttyS"}) {
        root.write(std::string("dev/") + name, "");
    }
    // ttyS0 and ttyS10 are real UARTs, ttyS1 has an unknown type, ttyS2 no sysfs entry.
    root.write("sys/class/tty/ttyS0/type", "4\n");
    root.write("sys/class/tty/ttyS1/type", "0\n");
    root.write("sys/class/tty/ttyS10/type", "4\n");
    // ttyUSB0 sits below a USB device that names itself.
    const std::string usb = "sys/devices/pci0000:00/usb1/1-1";
    root.write(usb + "/idVendor", "0403\n");
    root.write(usb + "/idProduct", "6001\n");
    root.write(usb + "/manufacturer", "FTDI\n");
    root.write(usb + "/product", "FT232R USB UART\n");
    root.write(usb + "/serial", "A50285BI\n");
    fs::create_directories(root.path() + usb + "/1-1:1.0/ttyUSB0");
    fs::create_directories(root.path() + "sys/class/tty/ttyUSB0");
    fs::create_symlink(root.path() + usb + "/1-1:1.0/ttyUSB0", root.path() + "sys/class/tty/ttyUSB0/device");
    fs::create_directories(dev + "/serial/by-id");
    fs::create_symlink("../../ttyUSB0", dev + "/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");

    const std::vector<SerialDevice> devices = ListSerialDevices(dev, sys);
    std::vector<std::string> paths;
    for (const auto& d : devices) {
        paths.push_back(d.path);
    }
    EXPECT_EQ(paths, (std::vector<std::string>{dev + "/ttyS0", dev + "/ttyS10", dev + "/ttyUSB0", dev + "/ttyUSB1",
                                               dev + "/ttyACM0",
                                               dev + "/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"}));
    ASSERT_EQ(devices.size(), 6u);
    EXPECT_EQ(devices[2].maker, "FTDI");
    EXPECT_EQ(devices[2].product, "FT232R USB UART");
    EXPECT_EQ(devices[2].serialNumber, "A50285BI");
    EXPECT_EQ(devices[3].maker, ""); // no sysfs entry: no details, still listed
    EXPECT_EQ(devices[5].kernelName, "ttyUSB0");
    EXPECT_EQ(devices[5].serialNumber, "A50285BI");
    // The kernel device knows its stable name; each says what it is beside its path.
    EXPECT_EQ(devices[2].stableName, devices[5].path);
    EXPECT_EQ(devices[3].stableName, "");
    EXPECT_EQ(devices[2].details(), "USB 0403:6001 FTDI FT232R USB UART, serial A50285BI");
    EXPECT_EQ(devices[5].details(), "ttyUSB0, USB 0403:6001 FTDI FT232R USB UART, serial A50285BI");
    EXPECT_EQ(devices[0].details(), "");

    // Nothing there at all.
    EXPECT_TRUE(ListSerialDevices(root.path() + "none", sys).empty());
}

} // namespace
} // namespace vistrel
