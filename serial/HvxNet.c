// POLLRDHUP: a server's close shows on a socket that is not read.
#define _GNU_SOURCE
#include "serial/HvxNet.h"
#include "serial/HvxSys.h"
#include "serial/halvex32.h"

#include <errno.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/socket.h>

static const char kTelnetScheme[] = "rfc2217://";
static const char kRawScheme[] = "tcp://";

static int hasScheme(const char* address, const char* scheme) {
    return strncasecmp(address, scheme, strlen(scheme)) == 0;
}

int hvxIsNetAddress(const char* device) {
    return hasScheme(device, kTelnetScheme) || hasScheme(device, kRawScheme);
}

// "HOST:PORT" or "[IPV6]:PORT", the port 1 to 65535 and nothing after it. 1 when it parses.
static int splitHostPort(const char* text, char* host, size_t hostSize, char* port, size_t portSize) {
    const char* hostEnd;
    const char* colon;
    if (*text == '[') {
        ++text;
        hostEnd = strchr(text, ']');
        colon = hostEnd ? hostEnd + 1 : NULL;
    } else {
        hostEnd = colon = strchr(text, ':');
    }
    if (!hostEnd || !colon || *colon != ':' || hostEnd == text || (size_t)(hostEnd - text) >= hostSize)
        return 0;
    const char* digits = colon + 1;
    size_t count = strspn(digits, "0123456789");
    if (count == 0 || count >= portSize || digits[count] != '\0')
        return 0;
    long number = strtol(digits, NULL, 10);
    if (number < 1 || number > 65535)
        return 0;
    memcpy(host, text, (size_t)(hostEnd - text));
    host[hostEnd - text] = '\0';
    memcpy(port, digits, count + 1);
    return 1;
}

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

// Connects to the first address of `host` that takes the connection before `deadline`; -1 for none.
static int connectWithin(const char* host, const char* port, struct timespec deadline) {
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

static const struct HvxTransport kRawTransport = {hvxNetCts,   rawDiscardInput, rawWriteAll, rawReadByte,
                                                  hvxNetCheck, hvxNetClose,     hvxNetDrop};

static int fail(char* status, const char* text, int beep) {
    hvxSetStatus(status, text);
    if (beep)
        hvxBeep();
    return 0;
}

int hvxNetConnect(char* status, const char* address, int baud) {
    struct timespec start = hvxNow();
    int telnet = hasScheme(address, kTelnetScheme);
    char host[256];
    char port[8];
    if (!splitHostPort(address + strlen(telnet ? kTelnetScheme : kRawScheme), host, sizeof host, port, sizeof port))
        return fail(status, "Error On Opening Communication", 0);
    // The server sets its own line at `baud`; a raw server's line is set up on the server.
    if (telnet && baud <= 0)
        return fail(status, "Error Setting Communication", 1);

    int fd = connectWithin(host, port, hvxAddMs(start, HVX_NET_CONNECT_MS));
    if (fd < 0)
        return fail(status, "Error On Opening Communication", 0);
    // Every paced character leaves at once, never held back to fill a segment.
    int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    // A station that vanishes without closing (power cut, cable pulled) fails the connection within
    // seconds, idle or not, so that it shows as a lost link rather than as a silent camera.
    int idleS = 2, intervalS = 1, probes = 3, unackedMs = HVX_WRITE_TIMEOUT_MS;
    setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idleS, sizeof idleS);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &intervalS, sizeof intervalS);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
    setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &unackedMs, sizeof unackedMs);

    int unconfirmed = 0;
    if (telnet) {
        int opened = hvxTelnetOpen(fd, baud, &unconfirmed);
        if (opened != HVX_TELNET_OPEN) {
            hvxSys()->close(fd);
            if (opened == HVX_TELNET_CLOSED)
                return fail(status, "Error On Opening Communication", 0);
            return fail(status, "Error Setting Communication", 1);
        }
    }
    g_hvxPort.fd = fd;
    g_hvxPort.transport = telnet ? &g_hvxTelnetTransport : &kRawTransport;
    g_hvxPort.connected = 1;
    g_hvxPort.unanswered = 0;
    // Servers in front of a device without modem lines leave some requests unanswered; the opening
    // goes on, and the status says how many.
    char text[48]; // at most 12 requests: the text fits HVX_STATUS_MIN_SIZE
    if (unconfirmed > 0)
        snprintf(text, sizeof text, "Connection OK (%d unconfirmed)", unconfirmed);
    else
        snprintf(text, sizeof text, "Connection OK");
    hvxSetStatus(status, text);
    return 1;
}
