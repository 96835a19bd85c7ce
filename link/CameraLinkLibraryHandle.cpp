#include "link/CameraLinkLibraryHandle.h"

#include <utility>

namespace vistrel {

namespace {

template <typename Fn> Fn bind(DynamicLoader& loader, void* handle, const char* name) {
    // dlsym hands back an object pointer; POSIX guarantees it converts to a function pointer.
    return reinterpret_cast<Fn>(loader.symbol(handle, name));
}

} // namespace

CameraLinkLibraryHandle::CameraLinkLibraryHandle(DynamicLoader& loader, void* handle)
    : m_loader(&loader), m_handle(handle) {
    if (m_handle == nullptr) {
        return;
    }
    // Bound in the order of the interface's documentation.
    m_entryPoints.clSerialInit = bind<ClSerialInitFn>(loader, handle, "clSerialInit");
    m_entryPoints.clSerialRead = bind<ClSerialReadFn>(loader, handle, "clSerialRead");
    m_entryPoints.clSerialWrite = bind<ClSerialWriteFn>(loader, handle, "clSerialWrite");
    m_entryPoints.clSerialClose = bind<ClSerialCloseFn>(loader, handle, "clSerialClose");
}

CameraLinkLibraryHandle::~CameraLinkLibraryHandle() {
    unload();
}

CameraLinkLibraryHandle::CameraLinkLibraryHandle(CameraLinkLibraryHandle&& other) noexcept
    : m_loader(std::exchange(other.m_loader, nullptr)), m_handle(std::exchange(other.m_handle, nullptr)),
      m_entryPoints(std::exchange(other.m_entryPoints, {})), m_guard(std::move(other.m_guard)) {}

CameraLinkLibraryHandle& CameraLinkLibraryHandle::operator=(CameraLinkLibraryHandle&& other) noexcept {
    if (this != &other) {
        unload();
        m_loader = std::exchange(other.m_loader, nullptr);
        m_handle = std::exchange(other.m_handle, nullptr);
        m_entryPoints = std::exchange(other.m_entryPoints, {});
        m_guard = std::move(other.m_guard);
    }
    return *this;
}

void CameraLinkLibraryHandle::abandon() {
    m_guard.reset();
    m_handle = nullptr;
    m_loader = nullptr;
    m_entryPoints = {};
}

bool CameraLinkLibraryHandle::unload() {
    if (m_guard && m_guard->stuck()) {
        abandon();
        return true;
    }
    void* handle = std::exchange(m_handle, nullptr);
    m_entryPoints = {};
    m_guard.reset();
    if (handle == nullptr || m_loader == nullptr) {
        return true;
    }
    return m_loader->close(handle);
}

} // namespace vistrel
