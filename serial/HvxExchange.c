#include "serial/HvxInternal.h"
#include "serial/halvex32.h"

#include <string.h>

static int endExchange(char* status, const char* text, int result) {
    hvxBusy(0);
    hvxSetStatus(status, text);
    return result;
}

// The exchange met a lost line: the port is closed and forgotten.
static int endLost(char* status) {
    hvxForgetLostPort();
    return endExchange(status, "Connexion lost", -2);
}

// Sends the line, paced or in one write. Returns 0, -1 when a write failed, or HVX_LOST.
static int sendLine(const struct HvxTransport* io, int fd, const char* line, int length, int charDelayMs) {
    if (charDelayMs == 0)
        return io->writeAll(fd, line, length, hvxAddMs(hvxNow(), HVX_WRITE_TIMEOUT_MS));
    // Absolute deadlines: a late wake-up shortens the next pause instead of pushing every later
    // character back, and no character goes out before its deadline.
    struct timespec deadline = hvxNow();
    for (int i = 0; i < length; ++i) {
        deadline = hvxAddMs(deadline, charDelayMs);
        hvxSleepUntil(deadline);
        const int written = io->writeAll(fd, line + i, 1, hvxAddMs(hvxNow(), HVX_WRITE_TIMEOUT_MS));
        if (written != 0)
            return written;
    }
    return 0;
}

// Collects bytes up to the first CR after the first ">". Returns the reply length, 0, or HVX_LOST.
static int receiveReply(const struct HvxTransport* io, int fd, char* received) {
    struct HvxReceiver receiver;
    receiver.length = receiver.next = 0;

    // Up to 25 reads of 200 ms for the first byte: about five seconds for the camera to begin.
    char byte;
    int got = io->readByte(&receiver, fd, hvxAddMs(hvxNow(), HVX_FIRST_BYTE_READS * HVX_BYTE_TIMEOUT_MS), &byte);
    int answering = 0;
    int position = 0;
    while (got == 1 && position < HVX_RECEIVE_SIZE) {
        received[position] = byte;
        if (!answering && byte == '>')
            answering = 1;
        else if (answering && byte == '\r')
            return position + 1;
        ++position;
        if (position < HVX_RECEIVE_SIZE)
            got = io->readByte(&receiver, fd, hvxAddMs(hvxNow(), HVX_BYTE_TIMEOUT_MS), &byte);
    }
    return got == HVX_LOST ? HVX_LOST : 0; // silence, a hang-up, or 200 bytes without a complete reply
}

int HVX_SendData(char* status, const char* command, char* reply, int charDelayMs) {
    char line[HVX_LINE_SIZE];
    char received[HVX_RECEIVE_SIZE + 1];
    memset(line, 0, sizeof line);
    memset(received, 0, sizeof received);

    if (!g_hvxPort.connected) {
        hvxSetStatus(status, "No Connexion");
        return 0;
    }
    if (reply)
        reply[0] = '\0';
    if (charDelayMs < 0 || charDelayMs > HVX_MAX_CHAR_DELAY_MS)
        charDelayMs = 0;

    // The line must fit its 200 bytes: a longer command is refused rather than cut or overrun.
    size_t length = command ? strnlen(command, HVX_COMMAND_MAX_LENGTH + 1) : HVX_COMMAND_MAX_LENGTH + 1;
    if (length > HVX_COMMAND_MAX_LENGTH || !reply) {
        hvxSetStatus(status, "Sending error");
        return -1;
    }
    memcpy(line, command, length);
    line[length] = '\r';

    hvxBusy(1);
    int fd = g_hvxPort.fd;
    const struct HvxTransport* io = g_hvxPort.transport;
    if (io->cts(fd) == 0)
        return endExchange(status, "Communication error", -1);
    if (g_hvxPort.unanswered)
        hvxAwaitQuiet(io, fd);
    io->discardInput(fd);
    // Set until a reply comes, so a late answer to this command is never read as the next one's.
    g_hvxPort.unanswered = 1;
    const int sent = sendLine(io, fd, line, (int)length + 1, charDelayMs);
    if (sent == HVX_LOST)
        return endLost(status);
    if (sent != 0)
        return endExchange(status, "Sending error", -1);

    int replyLength = receiveReply(io, fd, received);
    if (replyLength == HVX_LOST)
        return endLost(status);
    received[replyLength] = '\0';
    if (replyLength == 0)
        return endExchange(status, "Acknowledge error", -2);
    g_hvxPort.unanswered = 0;
    memcpy(reply, received, (size_t)replyLength + 1);
    return endExchange(status, "Sending & Receipt OK", replyLength);
}
