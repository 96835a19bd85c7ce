#pragma once

#include <string>
#include <string_view>

namespace vistrel {

// Bytes made visible as plain text (a reply, a device name, a transcript row): printable ASCII as
// it is, a backslash doubled, CR, LF and tab as \r, \n and \t, every other byte as \xNN.
std::string escapedBytes(std::string_view bytes);

} // namespace vistrel
