#pragma once

#include <optional>
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
    // Tries the library before open() maps it into this process: nothing when it may be opened,
    // else the message that refuses it. Loaders that map nothing foreign try nothing.
    virtual std::optional<std::string> trial(const std::string& /*path*/) { return std::nullopt; }
};

// dlopen (RTLD_NOW | RTLD_LOCAL), dlsym and dlclose; the trial loads the library in a child process
// (the helper beside the running program).
DynamicLoader& systemDynamicLoader();

} // namespace vistrel
