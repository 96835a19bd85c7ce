#pragma once

#include <functional>
#include <memory>
#include <thread>

namespace vistrel {

// How long past its own time-out a grabber library call may run before it counts as stuck.
inline constexpr unsigned int kClStuckGraceMs = 2000;
// The own time-out of the calls that have none (clSerialInit, clSerialClose).
inline constexpr unsigned int kClUntimedCallMs = 3000;

inline constexpr const char* kTextGrabberNotResponding = "The grabber library does not respond";

// Room a guarded call has for the bytes it moves: the send buffer is the largest.
inline constexpr int kClScratchCapacity = 100;

// What a guarded call works on: it belongs to the worker as much as to the caller, so a call that
// is abandoned still writes into memory that stays valid.
struct CameraLinkScratch {
    char bytes[kClScratchCapacity] = {};
    unsigned int count = 0;
    void* ref = nullptr;
    int result = 0;
};

// Runs a grabber library's calls on a thread of their own, one at a time, so a library that ignores
// its time-out cannot hold the program: a call that has not returned kClStuckGraceMs after its own
// time-out is abandoned on its thread (never joined) and the guard counts as stuck from then on,
// refusing every later call. The library must then stay mapped for as long as the process lives.
class CameraLinkCallGuard {
public:
    CameraLinkCallGuard();
    ~CameraLinkCallGuard();
    CameraLinkCallGuard(const CameraLinkCallGuard&) = delete;
    CameraLinkCallGuard& operator=(const CameraLinkCallGuard&) = delete;

    // Runs `call` on the worker with `scratch` as it is now, and waits for it at most
    // `timeoutMs` + kClStuckGraceMs. True with `scratch` as the call left it; false when the call is
    // stuck (now or earlier), `scratch` then as it was.
    bool run(const std::function<void(CameraLinkScratch&)>& call, unsigned int timeoutMs, CameraLinkScratch& scratch);

    bool stuck() const { return m_stuck; }

    // Starts afresh for a newly loaded library: a stuck call is left to its thread.
    void renew();

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
    std::thread m_worker;
    bool m_stuck = false;
};

} // namespace vistrel
