#pragma once

#include <string_view>

namespace vistrel {

// Whether `text` begins with `prefix`, ASCII letters compared without regard to case.
bool startsWithIgnoringCase(std::string_view text, std::string_view prefix);

// Whether the texts are the same, ASCII letters compared without regard to case.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// Whether a list entry stands for `value`: the same text, letters compared without regard to case,
// or the same number ("1.00" and "1", "05" and "5").
bool sameListValue(std::string_view entry, std::string_view value);

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

// The entry a list picks to show `value`: the first, in list order, that stands for it; when none
// does, the search of findFromSecondEntry.
template <typename EntryAt> int findListEntry(int count, std::string_view value, EntryAt&& entryAt) {
    for (int n = 0; n < count; ++n) {
        if (sameListValue(entryAt(n), value)) {
            return n;
        }
    }
    return findFromSecondEntry(count, value, entryAt);
}

} // namespace vistrel
