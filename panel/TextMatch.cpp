#include "panel/TextMatch.h"

#include "settings/ListValue.h"

#include <cctype>

namespace vistrel {

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

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && startsWithIgnoringCase(a, b);
}

bool sameListValue(std::string_view entry, std::string_view value) {
    if (equalsIgnoringCase(entry, value)) {
        return true;
    }
    const std::optional<std::string> number = canonicalNumber(value);
    return number && canonicalNumber(entry) == number;
}

} // namespace vistrel
