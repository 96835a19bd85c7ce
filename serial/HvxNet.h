#pragma once

/* The line through a server on the network: socket input and output and the raw transport
 * (HvxNet.c), the telnet COM-PORT-OPTION client (HvxTelnet.c), and the opening of an address, which
 * picks one of the two (HvxNetOpen.c). Internal: never exported. */

#include "serial/HvxInternal.h"

/* How long the server has to answer the telnet negotiation, and to confirm each line setting. */
#define HVX_NET_CONNECT_MS 3000
#define HVX_NET_ANSWER_MS 2000
#define HVX_NET_CONFIRM_MS 1000
#define HVX_NET_CLOSE_MS 500

/* Connects to the first address of `host` that takes the connection before `deadline`; -1 for none. */
int hvxNetConnectWithin(const char* host, const char* port, struct timespec deadline);

/* Sends all `size` bytes, waiting for room until `deadline`. 0, -1 when the connection stayed full,
 * or HVX_LOST when it failed. Never raises SIGPIPE. */
int hvxNetSend(int fd, const unsigned char* data, int size, struct timespec deadline);

/* Reads what has arrived, waiting for the first byte until `deadline` (a deadline already passed
 * takes only what is waiting). The count, 0 when nothing came in time, HVX_LOST when the server
 * closed the connection or it failed. */
int hvxNetReceive(int fd, unsigned char* buffer, int size, struct timespec deadline);

/* The connection's end as a line's: HVX_LOST once the server closed it or it failed, else 1. */
int hvxNetCheck(int fd);
void hvxNetDrop(int fd);
/* Ends the connection and waits, at most HVX_NET_CLOSE_MS, until the server has ended its side. */
void hvxNetClose(int fd);

/* Always 1: over the network neither a presence probe nor a CTS test is made, because a server's
 * modem state cannot tell a low CTS from a device without modem lines. */
int hvxNetCts(int fd);

/* The line of a tcp:// server: the socket's bytes as they are. */
extern const struct HvxTransport g_hvxRawTransport;

/* Telnet with COM-PORT-OPTION on a connected socket: negotiates the options and sets the server's
 * line to 8N1 at `baud` with the local line's flow control, DTR, RTS and modem-state mask. */
enum { HVX_TELNET_OPEN = 0, HVX_TELNET_CLOSED = -1, HVX_TELNET_REFUSED = -2 };
/* HVX_TELNET_OPEN with `unconfirmed` set to the number of requests left without an answer;
 * HVX_TELNET_CLOSED when the connection ended; HVX_TELNET_REFUSED when the server did not take
 * COM-PORT-OPTION in time or set another line than the one asked for. */
int hvxTelnetOpen(int fd, int baud, int* unconfirmed);
extern const struct HvxTransport g_hvxTelnetTransport;
