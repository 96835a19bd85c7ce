#pragma once

#include <string>
#include <string_view>

namespace vistrel::ctl {

// The bytes as UTF-8 text: unchanged when they are valid UTF-8, else each byte read as Latin-1,
// as files written on Windows usually are.
std::string displayText(std::string_view bytes);

} // namespace vistrel::ctl
