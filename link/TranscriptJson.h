#pragma once

#include "link/ObservedLink.h"

#include <string>

namespace vistrel {

// One link operation as one line of JSON (without the line end), keys in this order:
// {"time":"2026-12-09T05:31:12.345Z","op":"exchange","link":"COM1 /dev/pts/3 9600 bd","command":"G=2",
//  "reply":">OK\r","result":4,"status":"Sending & Receipt OK","ms":27.4}
// "command" and "reply" map each byte to the code point of the same number (U+0000 to U+00FF), so
// any byte survives; they are left out where the operation has none. "link" and "status" are kept
// as UTF-8 when they are, else mapped as the bytes are.
std::string transcriptJsonLine(const LinkEvent& event);

// "2026-12-09T05:31:12.345Z" for milliseconds since 1970.
std::string utcTimeText(std::int64_t utcMs);

} // namespace vistrel
