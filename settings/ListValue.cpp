#include "settings/ListValue.h"

#include <climits>

namespace vistrel {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t digitsFrom(std::string_view text, std::size_t at) {
    while (at < text.size() && isDigit(text[at])) {
        ++at;
    }
    return at;
}

} // namespace

std::optional<std::string> canonicalNumber(std::string_view text) {
    std::size_t at = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        at = 1;
    }
    const std::size_t wholeEnd = digitsFrom(text, at);
    if (wholeEnd == at) {
        return std::nullopt;
    }
    std::string_view whole = text.substr(at, wholeEnd - at);
    std::string_view fraction;
    if (wholeEnd < text.size()) {
        const std::size_t fractionEnd = digitsFrom(text, wholeEnd + 1);
        if (text[wholeEnd] != '.' || fractionEnd == wholeEnd + 1 || fractionEnd != text.size()) {
            return std::nullopt;
        }
        fraction = text.substr(wholeEnd + 1);
    }
    while (whole.size() > 1 && whole.front() == '0') {
        whole.remove_prefix(1);
    }
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.remove_suffix(1);
    }
    std::string canonical(whole);
    if (!fraction.empty()) {
        canonical.append(".").append(fraction);
    }
    return negative && canonical != "0" ? "-" + canonical : canonical;
}

std::optional<std::string> listStateText(std::string_view text) {
    if (text.find('.') != std::string_view::npos && canonicalNumber(text)) {
        return std::string(text);
    }
    // Leading blanks, a sign and the leading digits, as the settings file's integer reader takes them.
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) {
        ++at;
    }
    const bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        ++at;
    }
    const std::size_t end = digitsFrom(text, at);
    if (end == at) {
        return std::string();
    }
    long long magnitude = 0;
    for (std::size_t i = at; i < end; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1) {
            return std::nullopt;
        }
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX || value < INT_MIN) {
        return std::nullopt;
    }
    return std::to_string(value);
}

} // namespace vistrel
