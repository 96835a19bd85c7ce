#pragma once

#include <ctime>
#include <string>

namespace vistrel {

// The save's "Date" text: the local time of `when` as "%d/%m/%Y at %X" in the "C" locale, so on the
// 24-hour clock whatever locale the process runs in ("08/12/2026 at 16:05:09").
std::string saveDateText(std::time_t when);

// `when` in UTC as ISO 8601 to the second: "2026-12-08T15:05:09Z".
std::string savedUtcText(std::time_t when);

} // namespace vistrel
