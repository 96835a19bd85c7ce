#include "platform/AtomicReplace.h"

#include "platform/RegularFile.h"
#include "platform/SaveTemporaryFile.h"
#include "platform/UniqueFd.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vistrel {

namespace {

FileResult writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return FileResult::failure(std::strerror(errno));
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

} // namespace

FileResult replaceFileAtomically(const std::string& path, std::string_view contents) {
    std::string target = path;
    struct stat linkInfo {};
    if (::lstat(path.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode)) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved); // NOLINT(cppcoreguidelines-no-malloc): realpath allocates with malloc
        }
    }

    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        return FileResult::failure(kNotRegularReason);
    }

    SaveTemporaryFile temporary(target);
    if (FileResult locked = temporary.acquire(); !locked.ok) {
        return locked;
    }
    const int fd = temporary.fd();

    // The new file keeps the old one's permissions; a new file gets the usual ones.
    mode_t mode = 0;
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    // The rename happens while the lock is held, so a waiting save never takes the renamed file.
    FileResult result = writeAll(fd, contents);
    if (result.ok && ::fchmod(fd, mode) != 0) {
        result = FileResult::failure(std::strerror(errno));
    }
    if (result.ok && ::fsync(fd) != 0) {
        result = FileResult::failure(std::strerror(errno));
    }
    if (result.ok && ::rename(temporary.path().c_str(), target.c_str()) != 0) {
        result = FileResult::failure(std::strerror(errno));
    }
    if (!result.ok) {
        temporary.discard();
        return result;
    }
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    // Make the rename itself durable; a failure here no longer endangers the old or the new file.
    const UniqueFd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir) {
        ::fsync(dir.get());
    }
    return {};
}

} // namespace vistrel
