#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vistrel {

// A number as a list entry writes it (an optional sign, digits, then optionally '.' and digits) as
// one canonical text, so that "1.00" and "1", "05" and "5", "-0" and "0" come out the same;
// nothing for any other text.
std::optional<std::string> canonicalNumber(std::string_view text);

// What the panel state keeps of a list's text that was applied or reported: a decimal ("1.25") as
// it is written; any other text as the whole number its leading digits form, the way "Last use"
// has always held lists; empty (no value) without leading digits. Nothing when that number lies
// beyond the int range: such a value is never kept.
std::optional<std::string> listStateText(std::string_view text);

} // namespace vistrel
