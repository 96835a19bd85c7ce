#include "link/DynamicLoader.h"

#include "link/LibraryTrial.h"
#include "platform/ExecutablePaths.h"
#include "platform/RegularFile.h"

#include <dlfcn.h>

namespace vistrel {

namespace {

class SystemDynamicLoader : public DynamicLoader {
public:
    void* open(const std::string& path) override {
        // An empty name would hand back the program itself, which is no Camera Link library.
        if (path.empty()) {
            return nullptr;
        }
        // dlopen reads a FIFO or a device as it would a file and blocks on it: only a regular file
        // named by its path is handed over. A bare name is searched for by the loader itself.
        if (path.find('/') != std::string::npos && !openRegularFile(path).fd) {
            return nullptr;
        }
        return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    std::optional<std::string> trial(const std::string& path) override {
        // What open() refuses anyway is not tried.
        if (path.empty() || (path.find('/') != std::string::npos && !openRegularFile(path).fd)) {
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
