#pragma once

#include <string>
#include <string_view>

namespace vistrel {

// `text` between two delimiters, such as a section name in brackets. Built by appending, since
// g++ 12 at -O2 and above reports a false -Wrestrict on "x" + std::string (GCC bug 105329).
inline std::string enclosed(char open, std::string_view text, char close) {
    std::string result;
    result.reserve(text.size() + 2);
    result += open;
    result += text;
    result += close;
    return result;
}

} // namespace vistrel
