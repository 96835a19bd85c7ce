#pragma once

/* State and helpers shared by the parts of the library. Internal: never exported. */

#include <time.h>

#define HVX_LINE_SIZE 200
#define HVX_RECEIVE_SIZE 200
#define HVX_FIRST_BYTE_READS 25
#define HVX_BYTE_TIMEOUT_MS 200
#define HVX_WRITE_TIMEOUT_MS 5000
#define HVX_MAX_CHAR_DELAY_MS 200
#define HVX_QUIET_WAIT_MS 1000

struct HvxReceiver;

/* How the exchange reaches the line: a local serial device, or a server on the network that carries
 * one (HvxNet.c). Each operation does for its kind of line what the hvx... function of the same name
 * below does for a local device. `check`: HVX_LOST when the line is gone, else 1, without blocking
 * or reading; `close` lowers DTR, drops what is pending and closes; `drop` only closes a lost line. */
struct HvxTransport {
    int (*cts)(int fd);
    void (*discardInput)(int fd);
    int (*writeAll)(int fd, const char* data, int size, struct timespec deadline);
    int (*readByte)(struct HvxReceiver* receiver, int fd, struct timespec deadline, char* byte);
    int (*check)(int fd);
    void (*close)(int fd);
    void (*drop)(int fd);
};
extern const struct HvxTransport g_hvxTtyTransport;

/* The one port of the process. */
struct HvxPort {
    int connected;
    int fd;
    const struct HvxTransport* transport;
    int unanswered; /* the last exchange got no reply: its answer may still be on its way */
};
extern struct HvxPort g_hvxPort;

void hvxSetStatus(char* status, const char* text);
void hvxBeep(void);
void hvxBusy(int busy);

/* Modem lines. hvxCts: 1 asserted, 0 low, -1 unknown (the query failed for another reason than the
 * device having no modem lines, which counts as asserted). */
int hvxCts(int fd);
/* on: raises DTR and RTS; off: lowers DTR. */
void hvxSetDtr(int fd, int on);

/* Monotonic time. */
struct timespec hvxNow(void);
struct timespec hvxAddMs(struct timespec t, long ms);
/* Milliseconds from now until `deadline`, rounded up, 0 when it has passed. */
int hvxMsUntil(struct timespec deadline);
void hvxSleepUntil(struct timespec deadline);

/* Writes all `size` bytes and waits until they have left the output queue, giving up at `deadline`.
 * Returns 0, -1 when a write failed or the output was still held at the deadline (the held output
 * is then discarded), or HVX_LOST when the line hung up or the device vanished. */
int hvxWriteAll(int fd, const char* data, int size, struct timespec deadline);

/* Bytes read ahead of the framing, so that one read can bring several bytes. */
struct HvxReceiver {
    char buffer[256];
    int length;
    int next;
};
/* Delivers the next received byte other than NUL. Returns 1 with a byte, 0 when `deadline` passed
 * first, -1 when a read failed, HVX_LOST when the line hung up or the device vanished. */
int hvxReadByte(struct HvxReceiver* receiver, int fd, struct timespec deadline, char* byte);
/* Throws away everything waiting in the input queue. */
void hvxDiscardInput(int fd);

/* The outcome of an operation that met a hang-up (POLLHUP, POLLERR), a vanished device (EIO, ENXIO) or
 * the end of the input after poll said it was readable. */
#define HVX_LOST (-9)
/* 1 when `revents` of a poll or `error` of a failed call says the line is gone. */
int hvxLostEvents(short revents);
int hvxLostError(int error);
/* Closes the port of a lost line and forgets it: the next connection opens afresh. */
void hvxForgetLostPort(void);
/* Listens for at most HVX_QUIET_WAIT_MS and throws away what comes; a complete reply frame, or a
 * gap of HVX_BYTE_TIMEOUT_MS after some bytes, ends the wait early. */
void hvxAwaitQuiet(const struct HvxTransport* io, int fd);

/* Device names that are network addresses: 1 for "rfc2217://HOST:PORT" and "tcp://HOST:PORT". */
int hvxIsNetAddress(const char* device);
/* HVX_ConnectDevice for a network address; the same results and status texts. */
int hvxNetConnect(char* status, const char* address, int baud);
