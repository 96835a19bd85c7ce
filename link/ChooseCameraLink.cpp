#include "link/ChooseCameraLink.h"

#include "link/CameraLinkLibrary.h"

namespace vistrel {

void ChooseCameraLink(LinkState& link, Prompts& prompts, CameraLinkChoiceUi& ui,
                      const std::optional<std::string>& systemFolder, DynamicLoader& loader) {
    if (!systemFolder) {
        prompts.tell(kTextErrorSystemDirectory);
    }
    const std::optional<std::string> file = ui.chooseLibraryFile(systemFolder.value_or(std::string()));
    if (!file) {
        return;
    }
    // The old library goes before the new file is tried, so a failure below leaves none loaded.
    ReleaseCameraLinkLibrary(link, prompts);
    if (LoadCameraLinkLibrary(link, prompts, *file, loader) != CameraLinkLoad::Bound) {
        return;
    }
    if (!ui.choosePort(link)) {
        ReleaseCameraLinkLibrary(link, prompts);
        return;
    }
    link.LinkKind = kLinkCameraLink;
    link.SettingsChanged = 1;
}

} // namespace vistrel
