#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vistrel {

// The text rules a key lookup applies to names and pieces, shared by the per-file reader and the
// snapshot index so that both give the same answers.

inline char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// A section or key name as the reader compares it: up to its first NUL, ASCII letters upper-cased.
std::string upperCamName(std::string_view name);

// Where `upperNeedle` first stands in `text` upper-cased, from `from` on; npos when nowhere.
std::size_t findUpper(std::string_view text, std::string_view upperNeedle, std::size_t from = 0);

// Whether `text`, upper-cased, holds `upperNeedle`.
inline bool containsUpper(std::string_view text, std::string_view upperNeedle) {
    return findUpper(text, upperNeedle) != std::string_view::npos;
}

// The value of a key line: after the first "=" at `equals`, up to the line feed, trailing blanks
// (0x20 only) removed.
std::string camValueOf(std::string_view text, std::size_t equals);

// Whether a piece's C text can be some key's line: its first "=" comes after its first character.
inline bool hasKeyEquals(std::string_view text) {
    const std::size_t equals = text.find('=');
    return equals != std::string_view::npos && equals > 0;
}

} // namespace vistrel
