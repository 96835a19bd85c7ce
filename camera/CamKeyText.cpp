#include "camera/CamKeyText.h"

#include <algorithm>
#include <cstring>

#include "camera/CamPieceReader.h"

namespace vistrel {

namespace {

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Next position from `from` up to `last` where `c` stands, or npos.
std::size_t findByte(std::string_view text, char c, std::size_t from, std::size_t last) {
    const void* at = std::memchr(text.data() + from, c, last - from + 1);
    return at == nullptr ? std::string_view::npos
                         : static_cast<std::size_t>(static_cast<const char*>(at) - text.data());
}

} // namespace

std::string upperCamName(std::string_view name) {
    std::string upper(cText(name)); // names are C strings to the reader as well
    for (char& c : upper) {
        c = asciiUpper(c);
    }
    return upper;
}

// Lookups run this on every line they pass, so candidates are found by the needle's first letter
// in either case and only they are compared.
std::size_t findUpper(std::string_view text, std::string_view upperNeedle, std::size_t from) {
    if (from > text.size() || upperNeedle.size() > text.size() - from) {
        return std::string_view::npos;
    }
    if (upperNeedle.empty()) {
        return from;
    }
    const std::size_t last = text.size() - upperNeedle.size();
    const char upperFirst = upperNeedle[0];
    const char lowerFirst = asciiLower(upperFirst);
    std::size_t upperAt = findByte(text, upperFirst, from, last);
    std::size_t lowerAt = lowerFirst == upperFirst ? std::string_view::npos : findByte(text, lowerFirst, from, last);
    while (upperAt != std::string_view::npos || lowerAt != std::string_view::npos) {
        const std::size_t at = std::min(upperAt, lowerAt);
        std::size_t i = 1;
        while (i < upperNeedle.size() && asciiUpper(text[at + i]) == upperNeedle[i]) {
            ++i;
        }
        if (i == upperNeedle.size()) {
            return at;
        }
        if (at == last) {
            return std::string_view::npos;
        }
        if (at == upperAt) {
            upperAt = findByte(text, upperFirst, at + 1, last);
        } else {
            lowerAt = findByte(text, lowerFirst, at + 1, last);
        }
    }
    return std::string_view::npos;
}

std::string camValueOf(std::string_view text, std::size_t equals) {
    std::string_view value = text.substr(equals + 1);
    value = value.substr(0, value.find('\n'));
    while (!value.empty() && value.back() == ' ') {
        value.remove_suffix(1); // blanks only: a trailing tab stays part of the value
    }
    return std::string(value);
}

} // namespace vistrel
