#include "panel/TextMatch.h"

#include <cctype>
#include <charconv>
#include <optional>

namespace vistrel {

namespace {

std::optional<double> wholeDecimal(std::string_view text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

} // namespace

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

bool sameNumberOrText(std::string_view a, std::string_view b) {
    const std::optional<double> x = wholeDecimal(a);
    const std::optional<double> y = wholeDecimal(b);
    return x && y ? *x == *y : a == b;
}

} // namespace vistrel
