#include "link/CameraLinkLibrary.h"

namespace vistrel {

CameraLinkLoad LoadCameraLinkLibrary(LinkState& link, Prompts& prompts, const std::string& path,
                                     DynamicLoader& loader) {
    link.CameraLinkLibraryPath = path;
    link.SerialRef.close();
    link.CameraLinkLibrary = CameraLinkLibraryHandle();
    void* handle = loader.open(path);
    if (handle == nullptr) {
        prompts.tell(kTextErrorOpeningLibrary);
        return CameraLinkLoad::NotOpened;
    }
    link.CameraLinkLibrary = CameraLinkLibraryHandle(loader, handle);
    if (!IsCameraLinkBound(link)) {
        prompts.tell(kTextErrorEntryPoints);
        ReleaseCameraLinkLibrary(link, prompts);
        return CameraLinkLoad::EntryPointMissing;
    }
    return CameraLinkLoad::Bound;
}

void ReleaseCameraLinkLibrary(LinkState& link, Prompts& prompts) {
    link.SerialRef.close();
    if (!link.CameraLinkLibrary.loaded()) {
        return;
    }
    if (!link.CameraLinkLibrary.unload()) {
        prompts.tell(kTextErrorClosingLibrary);
    }
}

bool IsCameraLinkBound(const LinkState& link) {
    return link.CameraLinkLibrary.bound();
}

} // namespace vistrel
