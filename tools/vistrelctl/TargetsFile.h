#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel::ctl {

// One target of a targets file: its line number (from 1) and its options as words.
struct Target {
    int line = 0;
    std::vector<std::string> words;
    std::string error; // why the line cannot be read; the target then fails without running
};

// Splits a line into words as a shell does for plain options: blanks separate, '...' is taken
// as it stands, "..." and a backslash escape the next character, '#' at the start of a word starts
// a comment. Nothing, with the reason in `error`, for an unterminated quote.
std::optional<std::vector<std::string>> splitTargetLine(std::string_view line, std::string& error);

// The targets of a targets file's text: every line with words; blank and comment lines count for
// the line numbers only.
std::vector<Target> readTargets(std::string_view text);

} // namespace vistrel::ctl
