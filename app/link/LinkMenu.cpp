#include "app/link/LinkMenu.h"

#include "app/link/CCameraLinkPortDialog.h"
#include "app/link/CComPortDialog.h"
#include "link/ComPortChoice.h"
#include "link/SystemLibraryFolder.h"

#include <QAction>
#include <QFileDialog>

namespace vistrel {

void ChooseComPort(LinkState& link, Prompts& prompts, QWidget* parent) {
    CComPortDialog dialog(link, parent);
    dialog.setPortIndex(PreselectedComPortIndex(link));
    if (dialog.exec() == QDialog::Accepted) {
        ApplyComPortChoice(link, prompts, dialog.portIndex());
    }
}

void ChooseCameraLink(LinkState& link, Prompts& prompts, QWidget* parent) {
    QtCameraLinkChoice ui(parent);
    ChooseCameraLink(link, prompts, ui, SystemLibraryFolder());
}

void UpdateLinkMenu(QAction* comPort, QAction* cameraLink, const LinkState& link) {
    if (comPort) {
        comPort->setCheckable(true);
        comPort->setChecked(link.LinkKind == kLinkCom1 || link.LinkKind == kLinkCom2);
        comPort->setEnabled(link.LinkMenuEnabled);
    }
    if (cameraLink) {
        cameraLink->setCheckable(true);
        cameraLink->setChecked(link.LinkKind == kLinkCameraLink);
        cameraLink->setEnabled(link.LinkMenuEnabled);
    }
}

std::function<void()> InstallLinkMenu(QAction* comPort, QAction* cameraLink, LinkState& link, Prompts& prompts,
                                      QWidget* parent) {
    if (comPort) {
        QObject::connect(comPort, &QAction::triggered, parent,
                         [&link, &prompts, parent] { ChooseComPort(link, prompts, parent); });
    }
    if (cameraLink) {
        QObject::connect(cameraLink, &QAction::triggered, parent,
                         [&link, &prompts, parent] { ChooseCameraLink(link, prompts, parent); });
    }
    auto update = [comPort, cameraLink, &link] { UpdateLinkMenu(comPort, cameraLink, link); };
    update();
    return update;
}

std::optional<std::string> QtCameraLinkChoice::chooseLibraryFile(const std::string& startFolder) {
    QFileDialog dialog(m_parent, QString(), QString::fromStdString(startFolder), "clser*.so libclser*.so");
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix("so");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front().toStdString();
}

bool QtCameraLinkChoice::choosePort(LinkState& link) {
    CCameraLinkPortDialog dialog(link, m_parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace vistrel
