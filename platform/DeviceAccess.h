#pragma once

#include <string>

namespace vistrel {

// Why a device cannot be opened for reading and writing, told the way a user can act on it.
enum class DeviceFault {
    None,       // nothing found in the way
    Missing,    // no such device (unplugged adapter, dangling /dev/serial/by-id name, no UART there)
    Busy,       // another process holds it
    NotInGroup, // the device's group may open it, this user is not (yet) in that group
    OwnerOnly,  // only its owner (root, usually) may open it
    Other,      // the system refused it for another reason, given in `reason`
};

struct DeviceProblem {
    DeviceFault fault = DeviceFault::None;
    std::string reason; // why: "/dev/ttyUSB0 is in use by process 812 (minicom)"
    std::string remedy; // what to do about it: "end that program, then connect again"

    // The reason and the remedy as one message; empty when there is no fault.
    std::string text() const { return fault == DeviceFault::None ? std::string() : reason + "; " + remedy; }
};

enum class DeviceProbe {
    LookOnly,   // stat, permissions and the holders /proc shows; the device is not touched
    TryOpening, // also opens it (non-blocking, without becoming its controlling terminal) and tries
                // the lock the serial link takes, to learn what stops an open; only after an open
                // failed, since opening a serial device raises its modem lines
};

// What keeps `path` from being opened as a serial link. `procRoot` stands for /proc (tests give a
// folder of their own).
DeviceProblem DiagnoseDevice(const std::string& path, DeviceProbe probe, const std::string& procRoot = "/proc");

} // namespace vistrel
