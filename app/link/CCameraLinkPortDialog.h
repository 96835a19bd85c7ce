#pragma once

#include "link/LinkState.h"

#include <QDialog>
#include <memory>

class QListWidgetItem;

namespace Ui {
class CameraLinkPortDialog;
}

namespace vistrel {

// The Camera Link port dialog: lists the ports the bound library opens; OK or a double click on a
// port sets `CameraLinkPort` to its position (-1 with an empty list).
class CCameraLinkPortDialog : public QDialog {
    Q_OBJECT
public:
    explicit CCameraLinkPortDialog(LinkState& link, QWidget* parent = nullptr);
    ~CCameraLinkPortDialog() override;

    // Probes the library and fills the list; runs each time the dialog is shown.
    void OnInitDialog();

public slots:
    void OnOK();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::CameraLinkPortDialog> m_ui;
    LinkState& m_link;
};

} // namespace vistrel
