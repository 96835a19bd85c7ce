#pragma once

#include "link/LinkState.h"

#include <QDialog>
#include <memory>

namespace Ui {
class ComPortDialog;
}

namespace vistrel {

// The COM port dialog: COM1 or COM2, the baud rate, and the serial device each port stands for.
// It works on `LinkBaudRate` and the device mapping of the link state directly; the port choice is
// its own field, read by the caller after OK.
class CComPortDialog : public QDialog {
    Q_OBJECT
public:
    explicit CComPortDialog(LinkState& link, QWidget* parent = nullptr);
    ~CComPortDialog() override;

    void setPortIndex(int index) { m_portIndex = index; }
    int portIndex() const { return m_portIndex; }

    // Fills the controls from the fields; runs each time the dialog is shown.
    void OnInitDialog();

public slots:
    void OnOK();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void exchangeToControls();
    void fillDevices();

    std::unique_ptr<Ui::ComPortDialog> m_ui;
    LinkState& m_link;
    int m_portIndex = -1;
    int m_rateIndex = -1;
};

} // namespace vistrel
