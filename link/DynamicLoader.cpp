#include "link/DynamicLoader.h"

#include "link/LibraryTrial.h"
#include "platform/ProgramPaths.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vistrel {

namespace {

bool isRegularFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    return regular;
}

class SystemDynamicLoader : public DynamicLoader {
public:
    void* open(const std::string& path) override {
        // An empty name would hand back the program itself, which is no Camera Link library.
        if (path.empty()) {
            return nullptr;
        }
        // dlopen reads a FIFO or a device as it would a file and blocks on it: only a regular file
        // named by its path is handed over. A bare name is searched for by the loader itself.
        if (path.find('/') != std::string::npos && !isRegularFile(path)) {
            return nullptr;
        }
        return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    std::optional<std::string> trial(const std::string& path) override {
        // What open() refuses anyway is not tried.
        if (path.empty() || (path.find('/') != std::string::npos && !isRegularFile(path))) {
            return std::nullopt;
        }
        return TryLibraryInChild(path, appDirectoryOf(executablePath()) + kLibraryTrialHelper);
    }
    void* symbol(void* handle, const char* name) override { return handle ? dlsym(handle, name) : nullptr; }
    bool close(void* handle) override { return handle != nullptr && dlclose(handle) == 0; }
};

} // namespace

DynamicLoader& systemDynamicLoader() {
    static SystemDynamicLoader loader;
    return loader;
}

} // namespace vistrel
