#include "serial/HvxInternal.h"
#include "serial/HvxSys.h"

#include <errno.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>

struct timespec hvxNow(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now;
}

struct timespec hvxAddMs(struct timespec t, long ms) {
    t.tv_sec += ms / 1000;
    t.tv_nsec += (ms % 1000) * 1000000L;
    if (t.tv_nsec >= 1000000000L) {
        t.tv_sec += 1;
        t.tv_nsec -= 1000000000L;
    }
    return t;
}

int hvxMsUntil(struct timespec deadline) {
    struct timespec now = hvxNow();
    long long ns = (long long)(deadline.tv_sec - now.tv_sec) * 1000000000LL + (deadline.tv_nsec - now.tv_nsec);
    if (ns <= 0)
        return 0;
    return (int)((ns + 999999LL) / 1000000LL);
}

void hvxSleepUntil(struct timespec deadline) {
    // A signal only interrupts the sleep; the deadline stays where it was.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, NULL) == EINTR) {
    }
}

int hvxCts(int fd) {
    int lines = 0;
    if (hvxSys()->ioctl(fd, TIOCMGET, &lines) == 0)
        return (lines & TIOCM_CTS) ? 1 : 0;
    // A pseudo-terminal or another device without modem lines has no CTS to wait for.
    return (errno == ENOTTY || errno == EINVAL) ? 1 : -1;
}

void hvxSetDtr(int fd, int on) {
    int lines = on ? (TIOCM_DTR | TIOCM_RTS) : TIOCM_DTR;
    hvxSys()->ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &lines);
}

int hvxLostEvents(short revents) {
    return (revents & (POLLHUP | POLLERR)) != 0;
}

int hvxLostError(int error) {
    return error == EIO || error == ENXIO;
}

// Waits until `fd` is ready for `events` or `deadline` passes: 1 ready, 0 time-out, -1 error,
// HVX_LOST hang-up.
static int waitFor(int fd, short events, struct timespec deadline) {
    for (;;) {
        struct pollfd p = {fd, events, 0};
        int ms = hvxMsUntil(deadline);
        int n = hvxSys()->poll(&p, 1, ms);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0) {
            if (ms == 0 || hvxMsUntil(deadline) == 0)
                return 0;
            continue;
        }
        if (p.revents & events)
            return 1;
        return hvxLostEvents(p.revents) ? HVX_LOST : -1; // POLLNVAL: not a line at all
    }
}

// Output waiting in the driver: the line is sent only once it has left, as the camera sees it.
static int outputPending(int fd) {
    int queued = 0;
    if (hvxSys()->ioctl(fd, TIOCOUTQ, &queued) != 0)
        return 0; // no output queue to ask about
    return queued > 0;
}

int hvxWriteAll(int fd, const char* data, int size, struct timespec deadline) {
    int done = 0;
    while (done < size) {
        ssize_t n = hvxSys()->write(fd, data + done, (size_t)(size - done));
        if (n > 0) {
            done += (int)n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return hvxLostError(errno) ? HVX_LOST : -1;
        const int ready = hvxMsUntil(deadline) == 0 ? 0 : waitFor(fd, POLLOUT, deadline);
        if (ready == HVX_LOST)
            return HVX_LOST;
        if (ready != 1) {
            tcflush(fd, TCOFLUSH);
            return -1;
        }
    }
    // Flow control can hold what the driver accepted; poll does not report the drain, so look again
    // every millisecond (a character at 9600 baud takes about one).
    while (outputPending(fd)) {
        if (hvxMsUntil(deadline) == 0) {
            tcflush(fd, TCOFLUSH); // a late line must not reach the camera after we gave up
            return -1;
        }
        struct timespec next = hvxAddMs(hvxNow(), 1);
        hvxSleepUntil(next);
    }
    return 0;
}

int hvxReadByte(struct HvxReceiver* receiver, int fd, struct timespec deadline, char* byte) {
    for (;;) {
        while (receiver->next < receiver->length) {
            char c = receiver->buffer[receiver->next++];
            if (c != '\0') {
                *byte = c;
                return 1;
            }
        }
        receiver->next = receiver->length = 0;
        int ready = waitFor(fd, POLLIN, deadline);
        if (ready == 0)
            return 0;
        // Read even after a hang-up was seen: bytes that arrived before it still count.
        ssize_t n = hvxSys()->read(fd, receiver->buffer, sizeof receiver->buffer);
        if (n > 0) {
            receiver->length = (int)n;
            continue;
        }
        if (n == 0)
            return HVX_LOST; // end of file after poll said readable: the other side hung up
        if (errno == EINTR)
            continue;
        if (hvxLostError(errno) || (errno == EAGAIN && ready == HVX_LOST))
            return HVX_LOST; // EIO after a hang-up, or the device is gone
        if (errno != EAGAIN || ready < 0)
            return -1;
        if (hvxMsUntil(deadline) == 0)
            return 0; // readiness without data, and no time left to wait for more
    }
}

void hvxDiscardInput(int fd) {
    // Flushing drops what the driver holds; bytes still on their way through a pseudo-terminal's
    // buffer land after it and are read off. Bounded, so a line that never stops cannot hold us.
    tcflush(fd, TCIFLUSH);
    char scrap[256];
    for (int i = 0; i < 64; ++i) {
        ssize_t n = hvxSys()->read(fd, scrap, sizeof scrap);
        if (n > 0)
            continue;
        if (n < 0 && errno == EINTR)
            continue;
        break; // EAGAIN: nothing left; 0 or another error: the exchange will meet it
    }
}

void hvxAwaitQuiet(const struct HvxTransport* io, int fd) {
    struct HvxReceiver receiver;
    receiver.length = receiver.next = 0;
    struct timespec end = hvxAddMs(hvxNow(), HVX_QUIET_WAIT_MS);
    struct timespec deadline = end;
    int answering = 0;
    char byte;
    while (io->readByte(&receiver, fd, deadline, &byte) == 1) {
        if (byte == '>')
            answering = 1;
        else if (answering && byte == '\r')
            return;
        // Once bytes flow, a pause as long as the gap allowed inside a reply ends the answer.
        struct timespec gap = hvxAddMs(hvxNow(), HVX_BYTE_TIMEOUT_MS);
        deadline = hvxMsUntil(gap) < hvxMsUntil(end) ? gap : end;
    }
}
