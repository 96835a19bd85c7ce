#include "platform/RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace vistrel {

RegularFile openRegularFile(const std::string& path) {
    RegularFile opened;
    opened.fd.reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!opened.fd) {
        opened.error = errno;
        return opened;
    }
    struct stat info {};
    if (::fstat(opened.fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        opened.fd.reset();
        opened.notRegular = true;
    }
    return opened;
}

} // namespace vistrel
