#pragma once

#include "link/EscapedBytes.h"

namespace vistrel::ctl {

using vistrel::escapedBytes;

} // namespace vistrel::ctl
