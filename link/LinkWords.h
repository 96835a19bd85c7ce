#pragma once

#include "link/LinkState.h"

#include <string>

namespace vistrel {

// The link in use in words, as a person names it: "COM1 /dev/ttyUSB0 9600 bd", or "Camera Link
// port 0 (libclserxyz.so)".
std::string linkInWords(const LinkState& link);

} // namespace vistrel
