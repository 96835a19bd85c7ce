// Opening a network address: the URL read, the connection made and its socket options set, the
// telnet negotiation for rfc2217://, and the transport that the port then uses.
#include "serial/HvxNet.h"
#include "serial/HvxSys.h"
#include "serial/halvex32.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
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

    int fd = hvxNetConnectWithin(host, port, hvxAddMs(start, HVX_NET_CONNECT_MS));
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
    g_hvxPort.transport = telnet ? &g_hvxTelnetTransport : &g_hvxRawTransport;
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
