#include "link/CameraLinkExchange.h"

#include "link/CameraLinkLibrary.h"

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

    const CameraLinkEntryPoints& entry = link.CameraLinkLibrary.entryPoints();
    void* ref = link.SerialRef.ref();
    char sendBuffer[kClSendBufferCapacity];
    const int length = std::snprintf(sendBuffer, sizeof sendBuffer, "%s\r", command);
    unsigned int count = static_cast<unsigned int>(length);
    if (entry.clSerialWrite(ref, sendBuffer, &count, kClWriteTimeoutMs) != 0) {
        return fail(status, kTextErrorSending);
    }

    int i = 0;
    bool started = false;
    count = 1;
    int result = entry.clSerialRead(ref, reply, &count, kClFirstByteTimeoutMs);
    while (result == 0) {
        if (!started && reply[i] == '>') {
            started = true;
        } else if (started && reply[i] == '\r') {
            reply[i + 1] = '\0';
            setStatus(status, kTextExchangeOk);
            return i + 1;
        }
        // The last byte of the buffer is kept for the terminator.
        if (i + 1 >= capacity - 1) {
            reply[i + 1] = '\0';
            return fail(status, kTextReplyTooLong);
        }
        ++i;
        count = 1;
        result = entry.clSerialRead(ref, reply + i, &count, kClNextByteTimeoutMs);
    }
    // The bytes read so far stay in the reply as they are.
    return fail(status, result == kClErrTimeout ? kTextErrorReadingTimeout : kTextErrorReading);
}

} // namespace vistrel
