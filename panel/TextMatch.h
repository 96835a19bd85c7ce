#pragma once

#include <string_view>

namespace vistrel {

// Whether `text` begins with `prefix`, ASCII letters compared without regard to case.
bool startsWithIgnoringCase(std::string_view text, std::string_view prefix);

// Whether two values are the same: by value when both are decimal numbers ("1.00" and "1", "05"
// and "5"), else as texts.
bool sameNumberOrText(std::string_view a, std::string_view b);

// The entry a list picks for `prefix`: the first that begins with it, searching from the second
// entry onwards and coming back to the first entry last; -1 when none does.
template <typename EntryAt> int findFromSecondEntry(int count, std::string_view prefix, EntryAt&& entryAt) {
    for (int step = 1; step <= count; ++step) {
        const int n = step % count;
        if (startsWithIgnoringCase(entryAt(n), prefix)) {
            return n;
        }
    }
    return -1;
}

} // namespace vistrel
