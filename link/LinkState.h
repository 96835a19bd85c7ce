#pragma once

#include <string>

namespace vistrel {

// Entry points of a grabber maker's Camera Link serial library, with the standard prototypes.
using ClSerialInitFn = int (*)(unsigned int serialIndex, void** serialRef);
using ClSerialReadFn = int (*)(void* serialRef, char* buffer, unsigned int* bufferSize, unsigned int timeoutMs);
using ClSerialWriteFn = int (*)(void* serialRef, char* buffer, unsigned int* bufferSize, unsigned int timeoutMs);
using ClSerialCloseFn = void (*)(void* serialRef);

enum : int { kLinkCom1 = 1, kLinkCom2 = 2, kLinkCameraLink = 3 };

// Capacities of the link's shared buffers.
inline constexpr int kLinkStatusCapacity = 64;
inline constexpr int kReplyBufferCapacity = 200;

// Which link is in use, with which settings, and what the last link operation said.
// One per run, owned by the application.
struct LinkState {
    int LinkKind = kLinkCom1;
    int LinkBaudRate = 0;
    int CameraLinkPort = 0;

    // Camera Link serial library: path, handle (from dlopen) and bound entry points.
    std::string CameraLinkLibraryPath;
    void* CameraLinkLibrary = nullptr;
    ClSerialInitFn clSerialInit = nullptr;
    ClSerialReadFn clSerialRead = nullptr;
    ClSerialWriteFn clSerialWrite = nullptr;
    ClSerialCloseFn clSerialClose = nullptr;
    void* SerialRef = nullptr;
    bool SerialRefOpen = false; // a channel was opened by clSerialInit and not closed since

    bool LinkMenuEnabled = true;
    char LinkStatusText[kLinkStatusCapacity] = {};
    char ReplyBuffer[kReplyBufferCapacity + 1] = {}; // one spare byte: the serial library may write 201
    int SettingsChanged = 0;

    // Serial devices that COM1 and COM2 stand for (settings section "Serial Devices").
    std::string ComDevice[2] = {"/dev/ttyS0", "/dev/ttyS1"};
};

} // namespace vistrel
