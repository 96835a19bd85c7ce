#pragma once

#include <optional>
#include <string>

namespace vistrel {

// The longest a trial load may take before the child is killed.
inline constexpr int kLibraryTrialLimitMs = 5000;
// The helper program, beside the program that runs it, that loads one library and reports.
inline constexpr const char* kLibraryTrialHelper = "vistrel-cltrial";
// Its exit code when the library does not load at all (the program's own load then says so).
inline constexpr int kLibraryTrialNotLoaded = 2;

// Loads the library at `path` once in a short-lived child process (`helper` PATH), so a library
// whose loading crashes, exits or hangs cannot take the program with it. Nothing when the child
// loaded and unloaded it and came back well, or when the library does not load at all; otherwise
// the message that refuses it, saying how the child ended.
std::optional<std::string> TryLibraryInChild(const std::string& path, const std::string& helper);

} // namespace vistrel
