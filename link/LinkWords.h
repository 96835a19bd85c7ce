#pragma once

#include "link/LinkState.h"

#include <string>

namespace vistrel {

// The link in use as a person names it: "COM1 /dev/ttyUSB0 9600 bd" (the port, the device it
// stands for, the rate) or "Camera Link port 0 (libclserxyz.so)" (the port and the library's file
// name).
std::string linkInWords(const LinkState& link);

// As linkInWords, with the serial device by its /dev/serial/by-id/ name where it has one: how a
// camera settings file records where its values were taken.
std::string linkInStableWords(const LinkState& link);

} // namespace vistrel
