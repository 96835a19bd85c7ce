#include "link/CameraLinkLibrary.h"

namespace vistrel {

CameraLinkLoad LoadCameraLinkLibrary(LinkState& link, Prompts& prompts, const std::string& path,
                                     DynamicLoader& loader) {
    link.CameraLinkLibraryPath = path;
    link.SerialRef.close();
    link.CameraLinkLibrary = CameraLinkLibraryHandle();
    // A library lost before may still run a call: the new one gets a thread of its own.
    link.CameraLinkCalls->renew();
    link.CameraLinkUnanswered = false;
    if (const std::optional<std::string> refused = loader.trial(path)) {
        prompts.tell(*refused);
        return CameraLinkLoad::Refused;
    }
    void* handle = loader.open(path);
    if (handle == nullptr) {
        prompts.tell(kTextErrorOpeningLibrary);
        return CameraLinkLoad::NotOpened;
    }
    link.CameraLinkLibrary = CameraLinkLibraryHandle(loader, handle);
    link.CameraLinkLibrary.guardWith(link.CameraLinkCalls);
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
