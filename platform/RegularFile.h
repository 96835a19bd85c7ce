#pragma once

#include "platform/UniqueFd.h"

#include <string>

namespace vistrel {

// Why a file that stands but is no regular file is neither read nor replaced.
inline constexpr const char* kNotRegularReason = "not a regular file";

// A file opened for reading, kept open only when it is a regular file.
struct RegularFile {
    UniqueFd fd;             // valid when the file is open
    int error = 0;           // errno of a failed open
    bool notRegular = false; // it exists but is no regular file (directory, device, FIFO)
};

// Opens `path` read-only without blocking, so that a FIFO or a device in its place can neither hang
// the open nor be read; anything but a regular file is closed again at once.
RegularFile openRegularFile(const std::string& path);

} // namespace vistrel
