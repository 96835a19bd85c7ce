#include "link/SerialDevices.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace vistrel {

namespace {

std::string readLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) {
        line.pop_back();
    }
    return line;
}

// ttyS10 after ttyS9: names compared with their trailing numbers taken as numbers.
bool naturalLess(const std::string& a, const std::string& b) {
    auto split = [](const std::string& s) {
        std::size_t digits = s.size();
        while (digits > 0 && s[digits - 1] >= '0' && s[digits - 1] <= '9') {
            --digits;
        }
        return std::make_pair(s.substr(0, digits), s.substr(digits));
    };
    const auto [stemA, numA] = split(a);
    const auto [stemB, numB] = split(b);
    if (stemA != stemB || numA.empty() || numB.empty()) {
        return a < b;
    }
    if (numA.size() != numB.size()) {
        return numA.size() < numB.size();
    }
    return numA < numB;
}

std::vector<std::string> namesIn(const fs::path& folder, const std::string& prefix) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end(), naturalLess);
    return names;
}

// The legacy UART driver makes a node for every possible port; only those with a known UART type
// are real.
bool isRealUart(const std::string& sysRoot, const std::string& name) {
    std::error_code error;
    const fs::path ttyClass = fs::path(sysRoot) / "class/tty";
    if (!fs::is_directory(ttyClass, error)) {
        return true; // no sysfs to ask
    }
    const std::string type = readLine(ttyClass / name / "type");
    return !type.empty() && type != "0";
}

void addUsbDetails(const std::string& sysRoot, SerialDevice& device) {
    std::error_code error;
    fs::path dir = fs::canonical(fs::path(sysRoot) / "class/tty" / device.kernelName / "device", error);
    if (error) {
        return;
    }
    const fs::path top = fs::path(sysRoot);
    for (int depth = 0; depth < 8 && !dir.empty() && dir != dir.root_path(); ++depth, dir = dir.parent_path()) {
        if (fs::exists(dir / "idVendor", error)) {
            device.vendorId = readLine(dir / "idVendor");
            device.productId = readLine(dir / "idProduct");
            device.maker = readLine(dir / "manufacturer");
            device.product = readLine(dir / "product");
            device.serialNumber = readLine(dir / "serial");
            return;
        }
        if (dir == top) {
            return;
        }
    }
}

} // namespace

std::string SerialDevice::details() const {
    // A stable name says which kernel device it stands for; a kernel name needs no repeating.
    std::string text = fs::path(path).filename() == kernelName ? "" : kernelName;
    if (isUsb()) {
        std::string usb = "USB " + vendorId + ":" + productId;
        for (const std::string* part : {&maker, &product}) {
            if (!part->empty()) {
                usb += " " + *part;
            }
        }
        text += (text.empty() ? "" : ", ") + usb;
        if (!serialNumber.empty()) {
            text += ", serial " + serialNumber;
        }
    }
    return text;
}

std::vector<SerialDevice> ListSerialDevices(const std::string& devRoot, const std::string& sysRoot) {
    std::vector<SerialDevice> devices;
    const fs::path dev(devRoot);
    for (const std::string& name : namesIn(dev, "ttyS")) {
        if (isRealUart(sysRoot, name)) {
            devices.push_back({(dev / name).string(), name, {}, {}, {}, {}, {}, {}});
        }
    }
    for (const char* prefix : {"ttyUSB", "ttyACM"}) {
        for (const std::string& name : namesIn(dev, prefix)) {
            SerialDevice device{(dev / name).string(), name, {}, {}, {}, {}, {}, {}};
            addUsbDetails(sysRoot, device);
            devices.push_back(device);
        }
    }
    for (const std::string& name : namesIn(dev / "serial/by-id", "")) {
        const fs::path link = dev / "serial/by-id" / name;
        std::error_code error;
        const fs::path target = fs::read_symlink(link, error);
        SerialDevice device{link.string(), error ? std::string() : target.filename().string(), {}, {}, {}, {}, {}, {}};
        if (!device.kernelName.empty()) {
            addUsbDetails(sysRoot, device);
        }
        for (SerialDevice& kernel : devices) {
            if (kernel.stableName.empty() && !device.kernelName.empty() &&
                kernel.path == (dev / device.kernelName).string()) {
                kernel.stableName = device.path;
            }
        }
        devices.push_back(device);
    }
    return devices;
}

std::string StableDeviceName(const std::string& device, const std::string& devRoot) {
    const fs::path byId = fs::path(devRoot) / "serial/by-id";
    std::error_code error;
    const fs::path target = fs::canonical(device, error);
    if (error || fs::path(device).parent_path() == byId) {
        return device;
    }
    for (const std::string& name : namesIn(byId, "")) {
        if (fs::canonical(byId / name, error) == target && !error) {
            return (byId / name).string();
        }
    }
    return device;
}

} // namespace vistrel
