#include "settings/SaveDate.h"

#include <array>
#include <locale.h>
#include <time.h>

namespace vistrel {

std::string saveDateText(std::time_t when) {
    std::tm local{};
    if (::localtime_r(&when, &local) == nullptr) {
        return {};
    }
    // The GUI toolkit sets the process locale from the environment, where "%X" may bring AM/PM or
    // other separators; the file keeps the "C" form whatever the user's locale.
    const locale_t c = ::newlocale(LC_ALL_MASK, "C", locale_t{});
    if (c == locale_t{}) {
        return {};
    }
    std::array<char, 64> text{};
    const std::size_t n = ::strftime_l(text.data(), text.size(), "%d/%m/%Y at %X", &local, c);
    ::freelocale(c);
    return {text.data(), n};
}

std::string savedUtcText(std::time_t when) {
    std::tm utc{};
    if (::gmtime_r(&when, &utc) == nullptr) {
        return {};
    }
    std::array<char, 32> text{};
    return {text.data(), std::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%SZ", &utc)};
}

} // namespace vistrel
