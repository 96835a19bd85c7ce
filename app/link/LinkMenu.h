#pragma once

#include "link/ChooseCameraLink.h"
#include "link/LinkState.h"
#include "platform/Prompts.h"

#include <functional>

class QAction;
class QWidget;

namespace vistrel {

// Handler of "&COM PORT ...": runs the COM port dialog with the current port preselected; OK makes
// the chosen port the link (leaving Camera Link).
void ChooseComPort(LinkState& link, Prompts& prompts, QWidget* parent);

// Handler of "CAMERA&LINK ...": the open-file dialog and the port dialog on screen.
void ChooseCameraLink(LinkState& link, Prompts& prompts, QWidget* parent);

// Check marks and enabling of the two link commands.
void UpdateLinkMenu(QAction* comPort, QAction* cameraLink, const LinkState& link);

// Routes the two link commands to ChooseComPort and ChooseCameraLink (dialogs owned by `parent`)
// and returns their idle-time update, which is also run once now.
std::function<void()> InstallLinkMenu(QAction* comPort, QAction* cameraLink, LinkState& link, Prompts& prompts,
                                      QWidget* parent);

// The file dialog (filter "clser*.so libclser*.so", starting in the given folder) and the port
// dialog, on screen.
class QtCameraLinkChoice : public CameraLinkChoiceUi {
public:
    explicit QtCameraLinkChoice(QWidget* parent) : m_parent(parent) {}
    std::optional<std::string> chooseLibraryFile(const std::string& startFolder) override;
    bool choosePort(LinkState& link) override;

private:
    QWidget* m_parent;
};

} // namespace vistrel
