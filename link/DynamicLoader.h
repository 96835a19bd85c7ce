#pragma once

#include <string>

namespace vistrel {

// Run-time loading of a shared library. The program uses the system loader; tests put in their own
// to reach failures the system loader will not produce on demand (a refused unload).
class DynamicLoader {
public:
    virtual ~DynamicLoader() = default;

    // The library's handle, or null when it cannot be loaded.
    virtual void* open(const std::string& path) = 0;
    // The address of an exported symbol, or null when the library has none by that name.
    virtual void* symbol(void* handle, const char* name) = 0;
    // True when the library was unloaded.
    virtual bool close(void* handle) = 0;
};

// dlopen (RTLD_NOW | RTLD_LOCAL), dlsym and dlclose.
DynamicLoader& systemDynamicLoader();

} // namespace vistrel
