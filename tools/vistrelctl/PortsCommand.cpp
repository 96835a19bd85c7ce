// vistrelctl ports: the serial devices present and the ports of a Camera Link library.
#include "link/CameraLinkLibrary.h"
#include "link/CameraLinkPorts.h"
#include "link/SerialDevices.h"
#include "platform/DeviceAccess.h"
#include "tools/vistrelctl/CliPrompts.h"
#include "tools/vistrelctl/LinkOptions.h"
#include "tools/vistrelctl/LinkSetup.h"
#include "tools/vistrelctl/ReplyText.h"
#include "tools/vistrelctl/Subcommand.h"

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>

namespace vistrel::ctl {

namespace {
using Json = nlohmann::ordered_json;
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
        if (const std::optional<int> stuck = reportGrabberStuck(link)) {
            return *stuck;
        }
    }

    // A stable name is shown beside the kernel device it stands for; one whose device is not
    // listed is shown on its own.
    std::vector<const SerialDevice*> shown;
    for (const SerialDevice& device : devices) {
        const bool besideItsDevice = std::any_of(devices.begin(), devices.end(), [&](const SerialDevice& kernel) {
            return !kernel.stableName.empty() && kernel.stableName == device.path;
        });
        if (!besideItsDevice) {
            shown.push_back(&device);
        }
    }

    if (json) {
        Json out;
        out["serial"] = Json::array();
        for (const SerialDevice* device : shown) {
            Json entry = {{"path", escapedBytes(device->path)},
                          {"device", escapedBytes(device->kernelName)},
                          {"byId", device->stableName.empty() ? Json() : Json(escapedBytes(device->stableName))}};
            if (device->isUsb()) {
                entry["vendorId"] = escapedBytes(device->vendorId);
                entry["productId"] = escapedBytes(device->productId);
                entry["maker"] = escapedBytes(device->maker);
                entry["product"] = escapedBytes(device->product);
                entry["serialNumber"] = escapedBytes(device->serialNumber);
            }
            const std::string problem = DiagnoseDevice(device->path, DeviceProbe::LookOnly).text();
            entry["access"] = problem.empty() ? Json("ok") : Json(escapedBytes(problem));
            out["serial"].push_back(entry);
        }
        if (library) {
            Json list = Json::array();
            for (int port : ports) {
                list.push_back({{"index", port}, {"name", CameraLinkPortItemText(port)}});
            }
            out["cameraLink"] = {{"library", escapedBytes(*library)}, {"ports", list}};
        } else {
            out["cameraLink"] = nullptr;
        }
        std::printf("%s\n", out.dump().c_str());
        return kLinkExitOk;
    }

    std::printf("Serial devices:\n");
    if (shown.empty()) {
        std::printf("  (none)\n");
    }
    for (const SerialDevice* device : shown) {
        std::printf("  %s", escapedBytes(device->path).c_str());
        if (const std::string details = device->details(); !details.empty()) {
            std::printf("  (%s)", escapedBytes(details).c_str());
        }
        std::printf("\n");
        if (!device->stableName.empty()) {
            std::printf("      stable name: %s\n", escapedBytes(device->stableName).c_str());
        }
        const std::string problem = DiagnoseDevice(device->path, DeviceProbe::LookOnly).text();
        if (!problem.empty()) {
            std::printf("      %s\n", escapedBytes(problem).c_str());
        }
    }
    if (library) {
        std::printf("Camera Link ports of %s:\n", escapedBytes(*library).c_str());
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
