#pragma once

#include "link/LinkState.h"

namespace vistrel {

// Time-outs of one exchange, in milliseconds.
inline constexpr unsigned int kClWriteTimeoutMs = 200;
inline constexpr unsigned int kClFirstByteTimeoutMs = 5000;
inline constexpr unsigned int kClNextByteTimeoutMs = 200;
// After an exchange without a reply, the next one first listens this long at most for its answer.
inline constexpr unsigned int kClQuietWaitMs = 1000;
// Most bytes thrown away before a command.
inline constexpr int kClDiscardLimit = 4096;

// The Camera Link serial interface's "no byte within the time-out" result.
inline constexpr int kClErrTimeout = -10004;

// Send buffer: command, carriage return and terminator.
inline constexpr int kClSendBufferCapacity = 100;
inline constexpr int kClMaxCommandLength = kClSendBufferCapacity - 2;

inline constexpr const char* kTextExchangeOk = "Sending & Receive OK";
inline constexpr const char* kTextErrorSending = "Error Sending Data";
inline constexpr const char* kTextErrorReadingTimeout = "Error Reading Data  : Timeout";
inline constexpr const char* kTextErrorReading = "Error Reading Data ";
inline constexpr const char* kTextReplyTooLong = "Error Reading Data : Too Long";
inline constexpr const char* kTextCommandTooLong = "Error Command Too Long";
inline constexpr const char* kTextNoLibrary = "No CameraLink library loaded";
inline constexpr const char* kTextNoChannel = "No Connexion";

// One command/reply exchange over the open Camera Link channel: sends `command` and a carriage
// return, then reads byte by byte into `reply` until the first carriage return after the first '>'.
// A late answer is never taken for this command's: what waits on the channel is read off first, and
// after an exchange that got no reply the channel is first listened to as Halvex32 does (at most
// kClQuietWaitMs). A library call that does not come back in time fails the exchange with
// kTextGrabberNotResponding and loses the link.
// Returns the stored reply's length (terminated) or -1; `status` (kLinkStatusCapacity bytes, or null) gets
// the outcome. Nothing is sent without a bound library and an open channel, nor for a command over
// 98 characters; a reply that fills `reply` without a frame end is refused.
int CameraLinkSendReceive(LinkState& link, char* status, const char* command, char* reply, int capacity);

} // namespace vistrel
