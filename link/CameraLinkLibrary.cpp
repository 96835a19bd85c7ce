#include "link/CameraLinkLibrary.h"

namespace vistrel {

namespace {

template <typename Fn> Fn bind(DynamicLoader& loader, void* handle, const char* name) {
    // dlsym hands back an object pointer; POSIX guarantees it converts to a function pointer.
    return reinterpret_cast<Fn>(loader.symbol(handle, name));
}

void clearBinding(LinkState& link) {
    link.CameraLinkLibrary = nullptr;
    link.clSerialInit = nullptr;
    link.clSerialRead = nullptr;
    link.clSerialWrite = nullptr;
    link.clSerialClose = nullptr;
    link.SerialRef = nullptr;
    link.SerialRefOpen = false;
}

} // namespace

CameraLinkLoad LoadCameraLinkLibrary(LinkState& link, Prompts& prompts, const std::string& path,
                                     DynamicLoader& loader) {
    link.CameraLinkLibraryPath = path;
    void* handle = loader.open(path);
    if (handle == nullptr) {
        clearBinding(link);
        prompts.tell(kTextErrorOpeningLibrary);
        return CameraLinkLoad::NotOpened;
    }
    link.CameraLinkLibrary = handle;
    link.clSerialInit = bind<ClSerialInitFn>(loader, handle, "clSerialInit");
    link.clSerialRead = bind<ClSerialReadFn>(loader, handle, "clSerialRead");
    link.clSerialWrite = bind<ClSerialWriteFn>(loader, handle, "clSerialWrite");
    link.clSerialClose = bind<ClSerialCloseFn>(loader, handle, "clSerialClose");
    link.SerialRef = nullptr;
    link.SerialRefOpen = false;
    if (!IsCameraLinkBound(link)) {
        prompts.tell(kTextErrorEntryPoints);
        ReleaseCameraLinkLibrary(link, prompts, loader);
        return CameraLinkLoad::EntryPointMissing;
    }
    return CameraLinkLoad::Bound;
}

void ReleaseCameraLinkLibrary(LinkState& link, Prompts& prompts, DynamicLoader& loader) {
    if (link.CameraLinkLibrary == nullptr) {
        clearBinding(link);
        return;
    }
    const bool closed = loader.close(link.CameraLinkLibrary);
    clearBinding(link);
    if (!closed) {
        prompts.tell(kTextErrorClosingLibrary);
    }
}

bool IsCameraLinkBound(const LinkState& link) {
    return link.CameraLinkLibrary != nullptr && link.clSerialInit != nullptr && link.clSerialRead != nullptr &&
           link.clSerialWrite != nullptr && link.clSerialClose != nullptr;
}

} // namespace vistrel
