// POLLRDHUP: a server's close shows on a socket that is not read.
#define _GNU_SOURCE
#include "serial/HvxNet.h"
#include "serial/HvxSys.h"

#include <errno.h>
#include <netdb.h>
#include <poll.h>
#include <string.h>
#include <sys/socket.h>

// Waits until `fd` reports any of `events` (or a hang-up or an error): 1, or 0 when `deadline` passed.
static int waitFor(int fd, short events, struct timespec deadline) {
    for (;;) {
        struct pollfd p = {fd, events, 0};
        int ms = hvxMsUntil(deadline);
        int n = hvxSys()->poll(&p, 1, ms);
        if (n > 0)
            return 1;
        if (n < 0 && errno != EINTR)
            return 1; // let the call that follows report the failure
        if (n == 0 && (ms == 0 || hvxMsUntil(deadline) == 0))
            return 0;
    }
}

int hvxNetSend(int fd, const unsigned char* data, int size, struct timespec deadline) {
    int done = 0;
    while (done < size) {
        ssize_t n = send(fd, data + done, (size_t)(size - done), MSG_NOSIGNAL);
        if (n > 0) {
            done += (int)n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return HVX_LOST; // reset, timed out or closed: a connection does not come back
        if (!waitFor(fd, POLLOUT, deadline))
            return -1;
    }
    return 0;
}

int hvxNetReceive(int fd, unsigned char* buffer, int size, struct timespec deadline) {
    for (;;) {
        ssize_t n = hvxSys()->read(fd, buffer, (size_t)size);
        if (n > 0)
            return (int)n;
        if (n == 0 || (errno != EAGAIN && errno != EINTR))
            return HVX_LOST; // the server closed the connection, or it failed
        if (errno == EAGAIN && !waitFor(fd, POLLIN, deadline))
            return 0;
    }
}

int hvxNetConnectWithin(const char* host, const char* port, struct timespec deadline) {
    struct addrinfo hints;
    memset(&hints, 0, sizeof hints);
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    struct addrinfo* found = NULL;
    if (getaddrinfo(host, port, &hints, &found) != 0)
        return -1;
    int fd = -1;
    for (struct addrinfo* a = found; a && fd < 0 && hvxMsUntil(deadline) > 0; a = a->ai_next) {
        fd = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0)
            continue;
        int error = connect(fd, a->ai_addr, a->ai_addrlen) == 0 ? 0 : errno;
        if (error == EINPROGRESS && waitFor(fd, POLLOUT, deadline)) {
            socklen_t length = sizeof error;
            if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
                error = EIO;
        }
        if (error != 0) {
            hvxSys()->close(fd);
            fd = -1;
        }
    }
    freeaddrinfo(found);
    return fd;
}

int hvxNetCts(int fd) {
    (void)fd;
    return 1;
}

static void rawDiscardInput(int fd) {
    // Bounded, so that a device that never stops talking cannot hold the exchange here.
    unsigned char bytes[256];
    for (int i = 0; i < 256 && hvxNetReceive(fd, bytes, (int)sizeof bytes, hvxNow()) > 0; ++i) {
    }
}

static int rawWriteAll(int fd, const char* data, int size, struct timespec deadline) {
    return hvxNetSend(fd, (const unsigned char*)data, size, deadline);
}

static int rawReadByte(struct HvxReceiver* receiver, int fd, struct timespec deadline, char* byte) {
    int got = hvxReadByte(receiver, fd, deadline, byte);
    return got == -1 ? HVX_LOST : got; // any failed read ends a connection
}

int hvxNetCheck(int fd) {
    struct pollfd p = {fd, POLLRDHUP, 0};
    int n;
    do {
        n = hvxSys()->poll(&p, 1, 0);
    } while (n < 0 && errno == EINTR);
    return n > 0 && (p.revents & (POLLRDHUP | POLLHUP | POLLERR)) ? HVX_LOST : 1;
}

void hvxNetDrop(int fd) {
    hvxSys()->close(fd);
}

void hvxNetClose(int fd) {
    // A server still ending the old connection refuses a new one ("Port already in use"): end ours,
    // and let the server end its side before the port counts as closed.
    shutdown(fd, SHUT_WR);
    struct timespec deadline = hvxAddMs(hvxNow(), HVX_NET_CLOSE_MS);
    unsigned char bytes[256];
    while (hvxNetReceive(fd, bytes, (int)sizeof bytes, deadline) > 0) {
    }
    hvxSys()->close(fd);
}

const struct HvxTransport g_hvxRawTransport = {hvxNetCts,   rawDiscardInput, rawWriteAll, rawReadByte,
                                               hvxNetCheck, hvxNetClose,     hvxNetDrop};
