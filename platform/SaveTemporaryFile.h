#pragma once

#include "platform/FileResult.h"
#include "platform/UniqueFd.h"

#include <chrono>
#include <string>

namespace vistrel {

// The temporary file a save writes before renaming it over the file it replaces. Its name is fixed
// (".NAME.tmp" beside the file), so an interrupted save leaves at most this one file behind, and the
// next save takes it over. A save holds an exclusive lock on it until its rename is done: another
// save waits for the lock, so it never touches the file of a save that is still running.
class SaveTemporaryFile {
public:
    explicit SaveTemporaryFile(const std::string& target);
    // Its descriptor closes with it, which releases the lock.

    // Opens (or creates) the file, locks it and empties it; waits at most `patience` for a running save.
    FileResult acquire(std::chrono::milliseconds patience = std::chrono::seconds(10));
    // Removes the file while still holding the lock, after a failed save.
    void discard();

    int fd() const { return m_fd.get(); }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
    UniqueFd m_fd;
};

} // namespace vistrel
