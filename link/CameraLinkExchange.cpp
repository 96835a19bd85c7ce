#include "link/CameraLinkExchange.h"

#include "link/CameraLinkCalls.h"
#include "link/CameraLinkLibrary.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace vistrel {

namespace {

void setStatus(char* status, const char* text) {
    if (status != nullptr) {
        std::snprintf(status, kLinkStatusCapacity, "%s", text);
    }
}

int fail(char* status, const char* text) {
    setStatus(status, text);
    return -1;
}

// Reads off whatever waits on the channel, with a zero time-out, until nothing comes. Bounded, so a
// line that never stops cannot hold the exchange.
void discardWaiting(LinkState& link) {
    for (int n = 0; n < kClDiscardLimit; ++n) {
        if (GuardedSerialReadByte(link, 0).outcome != ClByteRead::Outcome::Byte) {
            return;
        }
    }
}

// After an exchange without a reply: listens for at most kClQuietWaitMs and drops what comes; a
// complete reply frame, or a gap as long as the one allowed inside a reply, ends the wait early.
void awaitQuiet(LinkState& link) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(kClQuietWaitMs);
    unsigned int wait = kClQuietWaitMs;
    bool answering = false;
    for (;;) {
        const ClByteRead read = GuardedSerialReadByte(link, wait);
        if (read.outcome != ClByteRead::Outcome::Byte) {
            return;
        }
        if (read.byte == '>') {
            answering = true;
        } else if (answering && read.byte == '\r') {
            return;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count();
        if (left <= 0) {
            return;
        }
        wait = std::min(kClNextByteTimeoutMs, static_cast<unsigned int>(left));
    }
}

} // namespace

int CameraLinkSendReceive(LinkState& link, char* status, const char* command, char* reply, int capacity) {
    if (!IsCameraLinkBound(link)) {
        return fail(status, kTextNoLibrary);
    }
    if (!link.SerialRef.isOpen()) {
        return fail(status, kTextNoChannel);
    }
    if (command == nullptr || std::strlen(command) > static_cast<std::size_t>(kClMaxCommandLength)) {
        return fail(status, kTextCommandTooLong);
    }
    // Room for at least '>' and the carriage return, plus the terminator.
    if (reply == nullptr || capacity < 3) {
        return fail(status, kTextReplyTooLong);
    }

    discardWaiting(link);
    if (link.CameraLinkUnanswered && IsCameraLinkBound(link)) {
        awaitQuiet(link);
        discardWaiting(link);
    }
    if (!IsCameraLinkBound(link)) {
        return fail(status, kTextGrabberNotResponding);
    }

    char sendBuffer[kClSendBufferCapacity];
    const int length = std::snprintf(sendBuffer, sizeof sendBuffer, "%s\r", command);
    // Set until a reply comes, so a late answer to this command is never read as the next one's.
    link.CameraLinkUnanswered = true;
    const std::optional<int> written =
        GuardedSerialWrite(link, sendBuffer, static_cast<unsigned int>(length), kClWriteTimeoutMs);
    if (!written) {
        return fail(status, kTextGrabberNotResponding);
    }
    if (*written != 0) {
        return fail(status, kTextErrorSending);
    }

    int i = 0;
    bool started = false;
    ClByteRead read = GuardedSerialReadByte(link, kClFirstByteTimeoutMs);
    while (read.outcome == ClByteRead::Outcome::Byte) {
        reply[i] = read.byte;
        if (!started && reply[i] == '>') {
            started = true;
        } else if (started && reply[i] == '\r') {
            reply[i + 1] = '\0';
            link.CameraLinkUnanswered = false;
            setStatus(status, kTextExchangeOk);
            return i + 1;
        }
        // The last byte of the buffer is kept for the terminator.
        if (i + 1 >= capacity - 1) {
            reply[i + 1] = '\0';
            return fail(status, kTextReplyTooLong);
        }
        ++i;
        read = GuardedSerialReadByte(link, kClNextByteTimeoutMs);
    }
    // The bytes read so far stay in the reply as they are.
    switch (read.outcome) {
    case ClByteRead::Outcome::Stuck:
        return fail(status, kTextGrabberNotResponding);
    case ClByteRead::Outcome::TimedOut:
        return fail(status, kTextErrorReadingTimeout);
    default:
        return fail(status, kTextErrorReading);
    }
}

} // namespace vistrel
