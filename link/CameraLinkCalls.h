#pragma once

#include "link/LinkState.h"

#include <optional>

namespace vistrel {

// One clSerialRead of one byte as our clock sees it.
struct ClByteRead {
    enum class Outcome { Byte, TimedOut, Failed, Stuck } outcome = Outcome::TimedOut;
    int code = 0; // the library's result when it Failed
    char byte = 0;
};

// The entry points of the library bound in `link`, each run through its call guard. A call that
// does not come back in time loses the link (LoseCameraLink) and gives nothing (or Stuck).
std::optional<int> GuardedSerialInit(LinkState& link, unsigned int port, void** ref);
std::optional<int> GuardedSerialWrite(LinkState& link, const char* bytes, unsigned int count, unsigned int timeoutMs);
void GuardedSerialClose(LinkState& link, void* ref);
// The same on a channel's own guard; false when the call is stuck.
bool GuardedSerialClose(CameraLinkCallGuard& guard, ClSerialCloseFn close, void* ref);

// Reads one byte within `timeoutMs` by our clock: a read that reports success with a count of 0
// stored nothing, and is tried again until the time is up.
ClByteRead GuardedSerialReadByte(LinkState& link, unsigned int timeoutMs);

// The library stopped answering: nothing of it is called again, its channel is forgotten unclosed
// and the library stays mapped (a call may still be running in it).
void LoseCameraLink(LinkState& link);

} // namespace vistrel
