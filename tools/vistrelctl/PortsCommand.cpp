// vistrelctl ports: the serial devices present and the ports of a Camera Link library.
#include "link/CameraLinkLibrary.h"
#include "link/CameraLinkPorts.h"
#include "link/SerialDevices.h"
#include "tools/vistrelctl/CliPrompts.h"
#include "tools/vistrelctl/LinkOptions.h"
#include "tools/vistrelctl/Subcommand.h"

#include <cstdio>
#include <nlohmann/json.hpp>

namespace vistrel::ctl {

namespace {

using Json = nlohmann::ordered_json;

// sysfs texts are meant to be ASCII; anything else is shown escaped rather than breaking JSON.
std::string printable(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f) {
            out += c;
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
        }
    }
    return out;
}

} // namespace

int runPorts(const std::vector<std::string>& args) {
    bool json = false;
    std::optional<std::string> library;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--json") {
            json = true;
        } else if (args[i] == "--library" && i + 1 < args.size()) {
            library = args[++i];
        } else {
            std::fprintf(stderr, "vistrelctl ports: unexpected argument %s\n", args[i].c_str());
            std::fputs("usage: vistrelctl ports [--library PATH] [--json]\n", stderr);
            return kLinkExitNoLink;
        }
    }

    const std::vector<SerialDevice> devices = ListSerialDevices();
    std::vector<int> ports;
    if (library) {
        CliPrompts prompts;
        LinkState link;
        if (LoadCameraLinkLibrary(link, prompts, *library) != CameraLinkLoad::Bound) {
            return kLinkExitNoLink;
        }
        ports = ListCameraLinkPorts(link);
        ReleaseCameraLinkLibrary(link, prompts);
    }

    if (json) {
        Json out;
        out["serial"] = Json::array();
        for (const SerialDevice& device : devices) {
            Json entry = {{"path", printable(device.path)}, {"device", printable(device.kernelName)}};
            if (!device.maker.empty() || !device.product.empty() || !device.serialNumber.empty()) {
                entry["maker"] = printable(device.maker);
                entry["product"] = printable(device.product);
                entry["serialNumber"] = printable(device.serialNumber);
            }
            const std::string problem = DevicePermissionProblem(device.path);
            entry["access"] = problem.empty() ? Json("ok") : Json(printable(problem));
            out["serial"].push_back(entry);
        }
        if (library) {
            Json list = Json::array();
            for (int port : ports) {
                list.push_back({{"index", port}, {"name", CameraLinkPortItemText(port)}});
            }
            out["cameraLink"] = {{"library", printable(*library)}, {"ports", list}};
        } else {
            out["cameraLink"] = nullptr;
        }
        std::printf("%s\n", out.dump().c_str());
        return kLinkExitOk;
    }

    std::printf("Serial devices:\n");
    if (devices.empty()) {
        std::printf("  (none)\n");
    }
    for (const SerialDevice& device : devices) {
        std::printf("  %s", printable(device.path).c_str());
        if (device.path.find("/by-id/") != std::string::npos && !device.kernelName.empty()) {
            std::printf(" -> %s", printable(device.kernelName).c_str());
        }
        if (!device.maker.empty() || !device.product.empty() || !device.serialNumber.empty()) {
            std::printf("  [%s | %s | %s]", printable(device.maker).c_str(), printable(device.product).c_str(),
                        printable(device.serialNumber).c_str());
        }
        std::printf("\n");
        const std::string problem = DevicePermissionProblem(device.path);
        if (!problem.empty()) {
            std::printf("    %s\n", printable(problem).c_str());
        }
    }
    if (library) {
        std::printf("Camera Link ports of %s:\n", printable(*library).c_str());
        if (ports.empty()) {
            std::printf("  (none)\n");
        }
        for (int port : ports) {
            std::printf("  %s\n", CameraLinkPortItemText(port).c_str());
        }
    }
    return kLinkExitOk;
}

} // namespace vistrel::ctl
