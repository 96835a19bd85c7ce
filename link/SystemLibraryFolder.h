#pragma once

#include <optional>
#include <string>

namespace vistrel {

// The folder the Camera Link file dialog starts in: the multiarch library folder (such as
// /usr/lib/x86_64-linux-gnu) when it exists, else /usr/lib; nothing when neither exists.
// `root` prefixes both paths (tests give a folder of their own).
std::optional<std::string> SystemLibraryFolder(const std::string& root = std::string());

// The multiarch tuple the program was built for ("x86_64-linux-gnu"); empty when unknown.
std::string LibraryMultiarch();

} // namespace vistrel
