#pragma once

#include "link/DynamicLoader.h"
#include "link/LinkState.h"
#include "platform/Prompts.h"

#include <optional>
#include <string>

namespace vistrel {

inline constexpr const char* kTextErrorSystemDirectory = "Error in getting sytem directory path";

// The two windows of the Camera Link choice: the open-file dialog and the port dialog.
class CameraLinkChoiceUi {
public:
    virtual ~CameraLinkChoiceUi() = default;

    // Runs the open-file dialog starting in `startFolder` (empty: the current folder) and returns
    // the chosen file's full path, or nothing when the user did not confirm.
    virtual std::optional<std::string> chooseLibraryFile(const std::string& startFolder) = 0;

    // Runs the port dialog on the library bound in `link`; on OK it has set `CameraLinkPort`.
    // Returns true for OK.
    virtual bool choosePort(LinkState& link) = 0;
};

// Handler of "CAMERA&LINK ...": picks a library file, loads and binds it, picks a port, and then
// makes Camera Link the link. Any failure after a file was chosen leaves no library loaded and the
// link kind as it was. `systemFolder` is where the file dialog starts; nothing shows "Error in
// getting sytem directory path" and the dialog starts in the current folder.
void ChooseCameraLink(LinkState& link, Prompts& prompts, CameraLinkChoiceUi& ui,
                      const std::optional<std::string>& systemFolder, DynamicLoader& loader = systemDynamicLoader());

} // namespace vistrel
