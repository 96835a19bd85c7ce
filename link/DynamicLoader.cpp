#include "link/DynamicLoader.h"

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
        return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
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
