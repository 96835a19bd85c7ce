#include "link/CameraLinkCalls.h"

#include "link/CameraLinkExchange.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace vistrel {

namespace {

bool guarded(LinkState& link, unsigned int timeoutMs, CameraLinkScratch& scratch,
             const std::function<void(CameraLinkScratch&)>& call) {
    if (link.CameraLinkCalls->run(call, timeoutMs, scratch)) {
        return true;
    }
    LoseCameraLink(link);
    return false;
}

} // namespace

void LoseCameraLink(LinkState& link) {
    link.SerialRef.abandon();
    link.CameraLinkLibrary.abandon();
}

std::optional<int> GuardedSerialInit(LinkState& link, unsigned int port, void** ref) {
    const ClSerialInitFn init = link.CameraLinkLibrary.entryPoints().clSerialInit;
    CameraLinkScratch scratch;
    if (!guarded(link, kClUntimedCallMs, scratch,
                 [init, port](CameraLinkScratch& s) { s.result = init(port, &s.ref); })) {
        return std::nullopt;
    }
    *ref = scratch.ref;
    return scratch.result;
}

std::optional<int> GuardedSerialWrite(LinkState& link, const char* bytes, unsigned int count, unsigned int timeoutMs) {
    const ClSerialWriteFn write = link.CameraLinkLibrary.entryPoints().clSerialWrite;
    CameraLinkScratch scratch;
    scratch.ref = link.SerialRef.ref();
    scratch.count = std::min<unsigned int>(count, kClScratchCapacity);
    std::memcpy(scratch.bytes, bytes, scratch.count);
    if (!guarded(link, timeoutMs, scratch,
                 [write, timeoutMs](CameraLinkScratch& s) { s.result = write(s.ref, s.bytes, &s.count, timeoutMs); })) {
        return std::nullopt;
    }
    return scratch.result;
}

bool GuardedSerialClose(CameraLinkCallGuard& guard, ClSerialCloseFn close, void* ref) {
    CameraLinkScratch scratch;
    scratch.ref = ref;
    return close == nullptr || guard.run([close](CameraLinkScratch& s) { close(s.ref); }, kClUntimedCallMs, scratch);
}

void GuardedSerialClose(LinkState& link, void* ref) {
    if (!GuardedSerialClose(*link.CameraLinkCalls, link.CameraLinkLibrary.entryPoints().clSerialClose, ref)) {
        LoseCameraLink(link);
    }
}

ClByteRead GuardedSerialReadByte(LinkState& link, unsigned int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const ClSerialReadFn read = link.CameraLinkLibrary.entryPoints().clSerialRead;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    unsigned int left = timeoutMs;
    for (;;) {
        CameraLinkScratch scratch;
        scratch.ref = link.SerialRef.ref();
        scratch.count = 1;
        if (!guarded(link, left, scratch,
                     [read, left](CameraLinkScratch& s) { s.result = read(s.ref, s.bytes, &s.count, left); })) {
            return {ClByteRead::Outcome::Stuck};
        }
        if (scratch.result == kClErrTimeout) {
            return {ClByteRead::Outcome::TimedOut, scratch.result};
        }
        if (scratch.result != 0) {
            return {ClByteRead::Outcome::Failed, scratch.result};
        }
        if (scratch.count > 0) {
            return {ClByteRead::Outcome::Byte, 0, scratch.bytes[0]};
        }
        const auto now = Clock::now();
        if (now >= deadline) {
            return {ClByteRead::Outcome::TimedOut, kClErrTimeout};
        }
        // Some libraries report an empty success at once instead of waiting: look again shortly.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        left = static_cast<unsigned int>(
            std::chrono::ceil<std::chrono::milliseconds>(std::max(deadline - Clock::now(), Clock::duration::zero()))
                .count());
    }
}

} // namespace vistrel
