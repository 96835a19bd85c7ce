#pragma once

#include <ctime>
#include <string>

namespace vistrel {

// The save's "Date" text: the local time of `when` as "%d/%m/%Y at %X" in the "C" locale, so on the
// 24-hour clock whatever locale the process runs in ("08/12/2026 at 16:05:09").
std::string saveDateText(std::time_t when);

} // namespace vistrel
