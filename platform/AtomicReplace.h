#pragma once

#include "platform/FileResult.h"

#include <string>
#include <string_view>

namespace vistrel {

// Replaces the file's bytes atomically: a temporary file beside it (one fixed name, locked for the
// save, taken over from a save that was interrupted), flushed to disk, then renamed over it. The
// file keeps its permissions; a symbolic link is followed and its target replaced. Fails, leaving
// it, when the target exists but is no regular file.
FileResult replaceFileAtomically(const std::string& path, std::string_view contents);

} // namespace vistrel
