#pragma once

#include <optional>

namespace vistrel {

// Whether caps lock is on, where the windowing system reports it (X11); nothing elsewhere.
std::optional<bool> capsLockOn();

} // namespace vistrel
