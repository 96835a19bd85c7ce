#include "platform/SaveTemporaryFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace vistrel {

namespace {

std::string temporaryPathFor(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    return folder + "." + base + ".tmp";
}

} // namespace

SaveTemporaryFile::SaveTemporaryFile(const std::string& target) : m_path(temporaryPathFor(target)) {}

FileResult SaveTemporaryFile::acquire(std::chrono::milliseconds patience) {
    m_fd.reset();
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        // Never through a symbolic link, and never blocking on whatever else might stand there.
        UniqueFd fd(::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK, 0600));
        if (!fd) {
            return FileResult::failure(std::strerror(errno));
        }
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
            // The save that held the lock may have renamed the file into place meanwhile: the lock is
            // only worth something while the name still leads to the locked file.
            struct stat locked {};
            struct stat named {};
            if (::fstat(fd.get(), &locked) == 0 && ::lstat(m_path.c_str(), &named) == 0 &&
                locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
                if (!S_ISREG(locked.st_mode) || locked.st_nlink != 1 || locked.st_uid != ::geteuid()) {
                    return FileResult::failure(m_path + " is not a file of this user's own");
                }
                if (::ftruncate(fd.get(), 0) != 0) {
                    return FileResult::failure(std::strerror(errno));
                }
                m_fd = std::move(fd);
                return {};
            }
            continue;
        }
        const int error = errno;
        if (error != EWOULDBLOCK && error != EINTR) {
            return FileResult::failure(std::strerror(error));
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return FileResult::failure(std::strerror(EWOULDBLOCK));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void SaveTemporaryFile::discard() {
    if (m_fd) {
        ::unlink(m_path.c_str());
        m_fd.reset();
    }
}

} // namespace vistrel
