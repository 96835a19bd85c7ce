#pragma once

#include "link/CameraLinkCallGuard.h"
#include "link/DynamicLoader.h"

#include <memory>

namespace vistrel {

// Entry points of a grabber maker's Camera Link serial library, with the standard prototypes.
using ClSerialInitFn = int (*)(unsigned int serialIndex, void** serialRef);
using ClSerialReadFn = int (*)(void* serialRef, char* buffer, unsigned int* bufferSize, unsigned int timeoutMs);
using ClSerialWriteFn = int (*)(void* serialRef, char* buffer, unsigned int* bufferSize, unsigned int timeoutMs);
using ClSerialCloseFn = void (*)(void* serialRef);

struct CameraLinkEntryPoints {
    ClSerialInitFn clSerialInit = nullptr;
    ClSerialReadFn clSerialRead = nullptr;
    ClSerialWriteFn clSerialWrite = nullptr;
    ClSerialCloseFn clSerialClose = nullptr;

    bool complete() const {
        return clSerialInit != nullptr && clSerialRead != nullptr && clSerialWrite != nullptr &&
               clSerialClose != nullptr;
    }
};

// Owns one loaded Camera Link serial library and its entry points, bound by name when it is taken
// over. The library is unloaded when the owner goes out of scope or is assigned another; unload()
// does it now and says whether the system agreed. Entry points are cleared with the handle, so
// nothing can call into unmapped code.
class CameraLinkLibraryHandle {
public:
    CameraLinkLibraryHandle() = default;
    // Takes over `handle`, opened by `loader`, and binds the four entry points from it.
    CameraLinkLibraryHandle(DynamicLoader& loader, void* handle);
    ~CameraLinkLibraryHandle();
    CameraLinkLibraryHandle(CameraLinkLibraryHandle&& other) noexcept;
    CameraLinkLibraryHandle& operator=(CameraLinkLibraryHandle&& other) noexcept;
    CameraLinkLibraryHandle(const CameraLinkLibraryHandle&) = delete;
    CameraLinkLibraryHandle& operator=(const CameraLinkLibraryHandle&) = delete;

    bool loaded() const { return m_handle != nullptr; }
    // Loaded with all four entry points: only then is any of them called.
    bool bound() const { return loaded() && m_entryPoints.complete(); }
    void* handle() const { return m_handle; }
    const CameraLinkEntryPoints& entryPoints() const { return m_entryPoints; }

    // Unloads the library. False when the system refused; the owner is empty either way.
    // Without a library: true.
    bool unload();
    // Forgets the library without unloading it: a call that never came back may still run in it,
    // so it stays mapped for the rest of the process.
    void abandon();
    // The guard the library's calls run through: while it is stuck the library is never unloaded.
    void guardWith(std::shared_ptr<const CameraLinkCallGuard> guard) { m_guard = std::move(guard); }

private:
    DynamicLoader* m_loader = nullptr;
    void* m_handle = nullptr;
    CameraLinkEntryPoints m_entryPoints;
    std::shared_ptr<const CameraLinkCallGuard> m_guard;
};

} // namespace vistrel
