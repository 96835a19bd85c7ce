#pragma once

#include "link/CameraLinkCallGuard.h"
#include "link/CameraLinkLibraryHandle.h"
#include "link/CameraLinkSerialChannel.h"

#include <memory>
#include <string>

namespace vistrel {

enum : int { kLinkCom1 = 1, kLinkCom2 = 2, kLinkCameraLink = 3 };

// Capacities of the link's shared buffers.
inline constexpr int kLinkStatusCapacity = 64;
inline constexpr int kReplyBufferCapacity = 200;

// The serial devices COM1 and COM2 stand for when nothing maps them elsewhere.
inline constexpr const char* kDefaultComDevice[2] = {"/dev/ttyS0", "/dev/ttyS1"};

// Which link is in use, with which settings, and what the last link operation said.
// One per run, owned by the application.
struct LinkState {
    int LinkKind = kLinkCom1;
    int LinkBaudRate = 0;
    int CameraLinkPort = 0;

    // Camera Link serial library: its path, the thread its calls run on, the loaded library with
    // its entry points, and the channel clSerialInit opened on connection. The channel is declared
    // after the library, so that it is closed before the library is unloaded, and both after the
    // guard their calls go through.
    std::string CameraLinkLibraryPath;
    // Shared with the library and the channel, which must not unload or close through a stuck call.
    std::shared_ptr<CameraLinkCallGuard> CameraLinkCalls = std::make_shared<CameraLinkCallGuard>();
    CameraLinkLibraryHandle CameraLinkLibrary;
    CameraLinkSerialChannel SerialRef;
    // The last Camera Link exchange got no reply: its answer may still come.
    bool CameraLinkUnanswered = false;

    bool LinkMenuEnabled = true;
    char LinkStatusText[kLinkStatusCapacity] = {};
    char ReplyBuffer[kReplyBufferCapacity + 1] = {}; // one spare byte: the serial library may write 201
    int SettingsChanged = 0;

    // Serial devices that COM1 and COM2 stand for (settings section "Serial Devices").
    std::string ComDevice[2] = {kDefaultComDevice[0], kDefaultComDevice[1]};
};

} // namespace vistrel
