#include "serial/HvxNet.h"
#include "serial/HvxSys.h"

#include <string.h>

// Telnet commands and the options we take part in.
enum { SE = 240, SB = 250, WILL = 251, WONT = 252, DO = 253, DONT = 254, IAC = 255 };
enum { OPT_BINARY = 0, OPT_SGA = 3, OPT_COM_PORT = 44 };

// COM-PORT-OPTION requests; the server answers each with its code plus 100.
enum {
    SET_BAUDRATE = 1,
    SET_DATASIZE = 2,
    SET_PARITY = 3,
    SET_STOPSIZE = 4,
    SET_CONTROL = 5,
    NOTIFY_MODEMSTATE = 7,
    SET_MODEMSTATE_MASK = 11,
    SERVER = 100
};
enum { PARITY_NONE = 1, STOPSIZE_1 = 1, MODEM_CTS = 0x10, MODEM_CTS_DELTA = 0x01 };
enum { CONTROL_HARDWARE_FLOW = 3, CONTROL_DTR_ON = 8, CONTROL_DTR_OFF = 9, CONTROL_RTS_ON = 11 };

// The line settings asked for at the opening, one bit each once the server confirmed it.
enum { ACK_BAUD, ACK_SIZE, ACK_PARITY, ACK_STOP, ACK_FLOW, ACK_DTR, ACK_RTS, ACK_MASK, ACK_COUNT };

enum { IN_DATA, IN_COMMAND, IN_OPTION, IN_SUB, IN_SUB_COMMAND };

// The connection's telnet state: one port per process, so one connection.
static struct {
    int fd;
    int in;
    unsigned char verb;
    unsigned char sub[16]; // longer subnegotiations (a server's signature) are cut: nothing of ours is longer
    int subLength;
    // Per option: enabled on our side / the server's, and our request still without an answer.
    unsigned char us[256], usAsked[256], him[256], himAsked[256];
    int baud;
    unsigned confirmed;
    int mismatch; // the server set its line other than asked
    int modemState;
} g;

static int supportedByUs(unsigned char option) {
    return option == OPT_BINARY || option == OPT_SGA || option == OPT_COM_PORT;
}

static int supportedByHim(unsigned char option) {
    return option == OPT_BINARY || option == OPT_SGA;
}

static void sendBytes(const unsigned char* bytes, int size) {
    hvxNetSend(g.fd, bytes, size, hvxAddMs(hvxNow(), HVX_NET_CONFIRM_MS));
}

static void sendOption(unsigned char verb, unsigned char option) {
    const unsigned char bytes[3] = {IAC, verb, option};
    sendBytes(bytes, 3);
}

// Answers only what changes a state, so that two sides can never bounce a request for ever.
static void takeOption(unsigned char verb, unsigned char option) {
    int enable = verb == DO || verb == WILL;
    int ours = verb == DO || verb == DONT;
    unsigned char* on = ours ? g.us : g.him;
    unsigned char* asked = ours ? g.usAsked : g.himAsked;
    int supported = ours ? supportedByUs(option) : supportedByHim(option);
    if (asked[option]) {
        asked[option] = 0;
        on[option] = (unsigned char)(enable && supported);
        return;
    }
    if (enable == on[option])
        return;
    if (enable && !supported) {
        sendOption(ours ? WONT : DONT, option);
        return;
    }
    on[option] = (unsigned char)enable;
    sendOption(ours ? (enable ? WILL : WONT) : (enable ? DO : DONT), option);
}

static void confirm(int which, int asAsked) {
    if (asAsked)
        g.confirmed |= 1u << which;
    else if (which <= ACK_STOP)
        g.mismatch = 1;
}

static void takeSubnegotiation(void) {
    if (g.subLength < 3 || g.sub[0] != OPT_COM_PORT)
        return;
    const unsigned char* v = g.sub + 2;
    switch (g.sub[1]) {
    case SERVER + SET_BAUDRATE:
        if (g.subLength >= 6)
            confirm(ACK_BAUD, ((long)v[0] << 24 | (long)v[1] << 16 | (long)v[2] << 8 | v[3]) == g.baud);
        break;
    case SERVER + SET_DATASIZE:
        confirm(ACK_SIZE, v[0] == 8);
        break;
    case SERVER + SET_PARITY:
        confirm(ACK_PARITY, v[0] == PARITY_NONE);
        break;
    case SERVER + SET_STOPSIZE:
        confirm(ACK_STOP, v[0] == STOPSIZE_1);
        break;
    case SERVER + SET_CONTROL:
        // The answer is the setting now in force: another flow control means ours was not taken.
        if (v[0] == CONTROL_HARDWARE_FLOW)
            confirm(ACK_FLOW, 1);
        else if (v[0] == CONTROL_DTR_ON)
            confirm(ACK_DTR, 1);
        else if (v[0] == CONTROL_RTS_ON)
            confirm(ACK_RTS, 1);
        break;
    case SERVER + SET_MODEMSTATE_MASK:
        confirm(ACK_MASK, 1);
        break;
    case SERVER + NOTIFY_MODEMSTATE:
        g.modemState = v[0];
        break;
    default:
        break;
    }
}

// Takes one byte from the server. 1 when it is a data byte, then in `data`; commands are acted on.
static int takeByte(unsigned char byte, char* data) {
    switch (g.in) {
    case IN_DATA:
        if (byte == IAC) {
            g.in = IN_COMMAND;
            return 0;
        }
        *data = (char)byte;
        return 1;
    case IN_COMMAND:
        g.in = IN_DATA;
        if (byte == IAC) {
            *data = (char)byte;
            return 1;
        }
        if (byte >= WILL) {
            g.verb = byte;
            g.in = IN_OPTION;
        } else if (byte == SB) {
            g.subLength = 0;
            g.in = IN_SUB;
        }
        return 0; // NOP, GA and the like carry nothing for us
    case IN_OPTION:
        g.in = IN_DATA;
        takeOption(g.verb, byte);
        return 0;
    case IN_SUB:
        if (byte == IAC)
            g.in = IN_SUB_COMMAND;
        else if (g.subLength < (int)sizeof g.sub)
            g.sub[g.subLength++] = byte;
        return 0;
    default: // IN_SUB_COMMAND
        if (byte == IAC) {
            if (g.subLength < (int)sizeof g.sub)
                g.sub[g.subLength++] = byte;
            g.in = IN_SUB;
            return 0;
        }
        takeSubnegotiation();
        g.in = IN_DATA;
        if (byte == SE)
            return 0;
        g.in = IN_COMMAND; // a subnegotiation cut short by another command
        return takeByte(byte, data);
    }
}

// Adds one COM-PORT-OPTION request to `out`, its value's IAC bytes doubled. The new length.
static int addRequest(unsigned char* out, int length, unsigned char code, const unsigned char* value, int size) {
    const unsigned char head[4] = {IAC, SB, OPT_COM_PORT, code};
    memcpy(out + length, head, sizeof head);
    length += (int)sizeof head;
    for (int i = 0; i < size; ++i) {
        out[length++] = value[i];
        if (value[i] == IAC)
            out[length++] = IAC;
    }
    out[length++] = IAC;
    out[length++] = SE;
    return length;
}

static int comPortAnswered(void) {
    return !g.usAsked[OPT_COM_PORT];
}

static int allAnswered(void) {
    return g.mismatch || (g.confirmed == (1u << ACK_COUNT) - 1 && !g.usAsked[OPT_BINARY] && !g.himAsked[OPT_BINARY] &&
                          !g.usAsked[OPT_SGA] && !g.himAsked[OPT_SGA]);
}

// Reads and acts on what the server sends, dropping data, until `done` holds (1), `deadline` passes
// (0) or the connection ends (-1).
static int takeUntil(int (*done)(void), struct timespec deadline) {
    unsigned char bytes[256];
    char data;
    while (!done()) {
        int n = hvxNetReceive(g.fd, bytes, (int)sizeof bytes, deadline);
        if (n < 0)
            return -1;
        if (n == 0)
            return done();
        for (int i = 0; i < n; ++i)
            takeByte(bytes[i], &data);
    }
    return 1;
}

int hvxTelnetOpen(int fd, int baud, int* unconfirmed) {
    memset(&g, 0, sizeof g);
    g.fd = fd;
    g.baud = baud;
    static const unsigned char kOffers[] = {IAC,     WILL, OPT_BINARY, IAC,     DO,  OPT_BINARY, IAC,         WILL,
                                            OPT_SGA, IAC,  DO,         OPT_SGA, IAC, WILL,       OPT_COM_PORT};
    g.usAsked[OPT_BINARY] = g.himAsked[OPT_BINARY] = g.usAsked[OPT_SGA] = g.himAsked[OPT_SGA] = 1;
    g.usAsked[OPT_COM_PORT] = 1;
    if (hvxNetSend(fd, kOffers, (int)sizeof kOffers, hvxAddMs(hvxNow(), HVX_NET_ANSWER_MS)) != 0)
        return HVX_TELNET_CLOSED;
    int taken = takeUntil(comPortAnswered, hvxAddMs(hvxNow(), HVX_NET_ANSWER_MS));
    if (taken < 0)
        return HVX_TELNET_CLOSED;
    if (taken == 0 || !g.us[OPT_COM_PORT])
        return HVX_TELNET_REFUSED;

    // The local line's settings: 8N1, output held by CTS, DTR and RTS raised; CTS changes reported.
    const unsigned char rate[4] = {(unsigned char)(baud >> 24), (unsigned char)(baud >> 16), (unsigned char)(baud >> 8),
                                   (unsigned char)baud};
    const unsigned char size = 8, parity = PARITY_NONE, stop = STOPSIZE_1, flow = CONTROL_HARDWARE_FLOW;
    const unsigned char dtr = CONTROL_DTR_ON, rts = CONTROL_RTS_ON, mask = MODEM_CTS | MODEM_CTS_DELTA;
    unsigned char requests[128];
    int length = addRequest(requests, 0, SET_BAUDRATE, rate, 4);
    length = addRequest(requests, length, SET_DATASIZE, &size, 1);
    length = addRequest(requests, length, SET_PARITY, &parity, 1);
    length = addRequest(requests, length, SET_STOPSIZE, &stop, 1);
    length = addRequest(requests, length, SET_CONTROL, &flow, 1);
    length = addRequest(requests, length, SET_CONTROL, &dtr, 1);
    length = addRequest(requests, length, SET_CONTROL, &rts, 1);
    length = addRequest(requests, length, SET_MODEMSTATE_MASK, &mask, 1);
    if (hvxNetSend(fd, requests, length, hvxAddMs(hvxNow(), HVX_NET_CONFIRM_MS)) != 0)
        return HVX_TELNET_CLOSED;
    if (takeUntil(allAnswered, hvxAddMs(hvxNow(), HVX_NET_CONFIRM_MS)) < 0)
        return HVX_TELNET_CLOSED;
    if (g.mismatch)
        return HVX_TELNET_REFUSED;

    *unconfirmed = g.usAsked[OPT_BINARY] + g.himAsked[OPT_BINARY] + g.usAsked[OPT_SGA] + g.himAsked[OPT_SGA];
    for (int i = 0; i < ACK_COUNT; ++i)
        *unconfirmed += !(g.confirmed & (1u << i));
    return HVX_TELNET_OPEN;
}

static int telnetReadByte(struct HvxReceiver* receiver, int fd, struct timespec deadline, char* byte) {
    for (;;) {
        while (receiver->next < receiver->length) {
            char c = receiver->buffer[receiver->next++];
            if (c != '\0') { // as on a local line; also the NUL after a CR of a server not in binary mode
                *byte = c;
                return 1;
            }
        }
        receiver->next = receiver->length = 0;
        unsigned char bytes[sizeof receiver->buffer];
        int n = hvxNetReceive(fd, bytes, (int)sizeof bytes, deadline);
        if (n <= 0)
            return n;
        for (int i = 0; i < n; ++i)
            receiver->length += takeByte(bytes[i], &receiver->buffer[receiver->length]);
    }
}

static int telnetWriteAll(int fd, const char* data, int size, struct timespec deadline) {
    unsigned char bytes[512];
    int length = 0;
    for (int i = 0; i < size; ++i) {
        if (length + 2 > (int)sizeof bytes) {
            int sent = hvxNetSend(fd, bytes, length, deadline);
            if (sent != 0)
                return sent;
            length = 0;
        }
        unsigned char c = (unsigned char)data[i];
        bytes[length++] = c;
        if (c == IAC)
            bytes[length++] = IAC;
        else if (c == '\r' && !g.us[OPT_BINARY])
            bytes[length++] = '\0'; // a lone CR outside binary mode is sent as CR NUL
    }
    return hvxNetSend(fd, bytes, length, deadline);
}

static void telnetDiscardInput(int fd) {
    unsigned char bytes[256];
    char data;
    for (int i = 0; i < 256; ++i) {
        int n = hvxNetReceive(fd, bytes, (int)sizeof bytes, hvxNow());
        if (n <= 0)
            return;
        for (int k = 0; k < n; ++k)
            takeByte(bytes[k], &data); // the server's notices still count
    }
}

static void telnetClose(int fd) {
    unsigned char bytes[8];
    const unsigned char dtr = CONTROL_DTR_OFF;
    // Only what goes out at once: closing never waits on the server.
    hvxNetSend(fd, bytes, addRequest(bytes, 0, SET_CONTROL, &dtr, 1), hvxNow());
    hvxNetClose(fd);
}

const struct HvxTransport g_hvxTelnetTransport = {hvxNetCts,   telnetDiscardInput, telnetWriteAll, telnetReadByte,
                                                  hvxNetCheck, telnetClose,        hvxNetDrop};
