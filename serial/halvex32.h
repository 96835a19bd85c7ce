#pragma once

/*
 * Halvex32: the serial link to a camera over an RS-232 port.
 *
 * The library opens one serial device at a time with fixed line settings (raw 8N1 at the caller's
 * rate, output flow control on CTS, no XON/XOFF, DTR and RTS raised), checks that something at the
 * other end asserts CTS, sends one command line and collects the camera's acknowledged reply, and
 * closes the device. The device may also be a line on a server on the network, named by a URL
 * (rfc2217://HOST:PORT, tcp://HOST:PORT; see HVX_ConnectDevice). The open port and the connected
 * flag are process-wide.
 *
 * Threads: every function must be called from one thread (the same one, or at least never two at
 * once). Each call blocks its caller until it is done; see the time-outs of HVX_SendData.
 *
 * Status texts: every function writes a NUL-terminated status text into `status`, a buffer of the
 * caller's that must hold at least HVX_STATUS_MIN_SIZE bytes (the longest text is
 * "Error On Opening Communication", 30 characters). A null `status` is allowed: nothing is written.
 *
 * Reply frame: after a command the camera sends any bytes, then ">", the answer text and a carriage
 * return (0x0D). The reply is everything received from the first byte after the command up to and
 * including that carriage return; bytes before the ">" stay part of it, a carriage return before the
 * first ">" is ordinary data. Received NUL bytes are discarded.
 */

#ifdef __cplusplus
extern "C" {
#endif

#if defined(HALVEX32_BUILDING)
#define HVX_API __attribute__((visibility("default")))
#else
#define HVX_API
#endif

/* Smallest status buffer that every status text fits in, terminating NUL included. */
#define HVX_STATUS_MIN_SIZE 31
/* Smallest reply buffer: 200 reply bytes and the terminating NUL. */
#define HVX_REPLY_MIN_SIZE 201
/* Longest command: the transmit line holds the command, a carriage return and a NUL in 200 bytes. */
#define HVX_COMMAND_MAX_LENGTH 198

/*
 * Host effects that a library cannot produce itself. `beep` is called (with `context`) for exactly
 * two outcomes: "Error Setting Communication" and "Error : no camera ?". `busyCursor` is called with
 * busy = 1 when an exchange of HVX_SendData starts and with busy = 0 on every way out of it.
 */
typedef void (*HVX_BeepFn)(void* context);
typedef void (*HVX_BusyCursorFn)(void* context, int busy);

/*
 * Registers the host's callbacks; either may be null, and with none registered nothing visible
 * happens. A later call replaces the earlier registration. Must not be called while another
 * Halvex32 call is running.
 */
HVX_API void HVX_SetHostCallbacks(HVX_BeepFn beep, HVX_BusyCursorFn busyCursor, void* context);

/*
 * Opens COM<port>, that is the device /dev/ttyS<port - 1>, at `baud`; otherwise as HVX_ConnectDevice.
 */
HVX_API int HVX_Connect(char* status, int port, int baud);

/*
 * Opens `device` (any serial device path: /dev/ttyUSB0, /dev/serial/by-id/..., a pseudo-terminal)
 * exclusively, applies the line settings at `baud`, raises DTR and RTS and checks CTS. A device
 * without modem lines (a pseudo-terminal) counts as CTS asserted. Returns at once.
 *
 * `device` may also name a serial line that a server on the network carries (ser2net, for one):
 *
 *   rfc2217://HOST:PORT  telnet with COM-PORT-OPTION (RFC 2217). Halvex32 negotiates BINARY both
 *                        ways, SUPPRESS-GO-AHEAD and COM-PORT-OPTION, then asks the server to set
 *                        its line as a local one is set: `baud`, 8 data bits, no parity, 1 stop bit,
 *                        hardware flow control, DTR and RTS raised, CTS changes reported. A 0xFF
 *                        byte is doubled on the way out and undoubled on the way in; the server's
 *                        telnet commands never reach a reply.
 *   tcp://HOST:PORT      a plain TCP connection carrying the line's bytes as they are; the server
 *                        sets the line up itself, and `baud` is not used.
 *
 * HOST is a name, an IPv4 address or an IPv6 address in brackets ([::1]); PORT is 1 to 65535. The
 * scheme is matched without regard to case. Over the network neither a presence probe nor a CTS
 * test is made (a server's modem state cannot tell a low CTS from a device without modem lines): a
 * missing camera shows as no reply. Pacing, reply framing and time-outs are as on a local line. The
 * opening may block: up to 3 s for the TCP connection, then up to 2 s for the server to answer the
 * telnet negotiation and up to 1 s for it to confirm the line settings. Requests that stay
 * unconfirmed do not fail the opening; the status text then counts them,
 * "Connection OK (3 unconfirmed)". A connection the server closes is a lost link, as a hang-up is;
 * so is one to a server that stops answering at the TCP level (TCP keep-alive probes after 2 s of
 * quiet, given up after 3 more; data unacknowledged for 5 s).
 * The network adds no security of its own: keep such servers on the line's own network, or reach
 * them through an SSH tunnel.
 *
 *   1  "Connection OK"                   connected
 *   1  "Connection OK (n unconfirmed)"   connected to an RFC 2217 server that left n requests
 *                                        without an answer
 *  -1  "Connexion Already Done"          a port was already open; nothing done, it stays open
 *   0  "Error On Opening Communication"  the device cannot be opened, or another process holds it;
 *                                        a network address that does not parse, does not resolve,
 *                                        or takes no connection within 3 s, or a server that
 *                                        closes the connection while it is opened
 *   0  "Error Setting Communication"     the line settings were refused, or `baud` is not a rate
 *                                        the terminal interface can set; a server that does not
 *                                        take COM-PORT-OPTION within 2 s or sets its line other
 *                                        than asked (beep)
 *   0  "Error : no camera ?"             nothing asserts CTS on the port (beep)
 * On every failure the device is closed again.
 */
HVX_API int HVX_ConnectDevice(char* status, const char* device, int baud);

/*
 * Lowers DTR, discards all pending input and output, and closes the port. Returns at once. A port
 * still open when the library is unloaded (or the process ends through exit) is closed the same way,
 * so exclusive mode never outlives its host. A network line waits, at most 0.5 s, until the server has
 * ended its side too, so that it takes the next connection at once.
 *
 *   1  "Connexion Closed"       closed
 *   0  "No Connexion to Close"  was not connected
 */
HVX_API int HVX_Disconn(char* status);

/*
 * Sends `command` followed by a carriage return and collects the reply into `reply`.
 *
 * `command`: NUL-terminated, at most HVX_COMMAND_MAX_LENGTH characters; an empty command sends a lone
 * carriage return. `reply`: at least HVX_REPLY_MIN_SIZE bytes; emptied at the start of every call
 * made while connected, and on success it receives the reply, NUL-terminated. `charDelayMs`: the
 * pause before each character of the line, the first included, with each character written no
 * earlier than its deadline; below 0 or above 200 counts as 0, which writes the line at once.
 *
 * A late answer is never taken for the next command's: input waiting before the line is sent is
 * discarded, and after an exchange that got no reply (or whose line was not sent whole) the next
 * one first listens for at most 1000 ms and discards what comes (a complete reply frame, or 200 ms
 * of silence after some bytes, ends that wait early).
 *
 * Blocking: up to 5000 ms for a write held by flow control, up to 5000 ms for the first byte of the
 * reply, then up to 200 ms for each further byte. A lost line ends the wait at once.
 *
 * Lost line: a hang-up or an error reported by poll (POLLHUP, POLLERR), a read or write failing with
 * EIO or ENXIO (device unplugged, other side of a pseudo-terminal closed), or a read that gives no
 * byte after poll said the line was readable. The library then closes the device and forgets it: it
 * is no longer connected, and the next HVX_Connect or HVX_ConnectDevice opens afresh. Over the
 * network: the server closing or resetting the connection, or any failed send or receive.
 *
 *   n > 0  "Sending & Receipt OK"  reply of n characters, the closing carriage return included
 *   0      "No Connexion"          not connected; nothing sent and `reply` left untouched
 *  -1      "Communication error"   CTS is low; nothing sent
 *  -1      "Sending error"         a write failed or was held for 5000 ms, or `command` is null or
 *                                  longer than HVX_COMMAND_MAX_LENGTH (nothing sent), or `reply`
 *                                  is null (nothing sent)
 *  -2      "Acknowledge error"     no complete acknowledged reply: silence, or 200 bytes without
 *                                  ">" followed by a carriage return; `reply` stays empty
 *  -2      "Connexion lost"        the line was lost (see above); `reply` stays empty, the port is
 *                                  closed
 * No other failure closes the port.
 */
HVX_API int HVX_SendData(char* status, const char* command, char* reply, int charDelayMs);

/*
 * Tells whether the open line is still there, without blocking and without reading or writing a
 * byte (one poll of the device for a hang-up; of a network connection, for its close). Meant to be called while no
 * exchange runs, as often as a host wants to notice an unplugged device; a lost line is closed and forgotten as in
 * HVX_SendData.
 *
 *   1   "Connection OK"   connected, and the line is alive
 *   0   "No Connexion"    not connected
 *  -1   "Connexion lost"  the line was lost; the port is now closed
 */
HVX_API int HVX_CheckLink(char* status);

#ifdef __cplusplus
}
#endif
