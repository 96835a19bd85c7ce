#pragma once

#include "panel/SettingsCompare.h"

#include <QDialog>

class QLabel;
class QTableWidget;

namespace vistrel {

class CommPanel;

// "Compare with camera...": one row per defined control with its caption, the panel's value and
// the camera's, rows that differ marked. "Send panel" sends the panel as refresh does and compares
// again; "Close" changes nothing.
class CCompareSettingsDialog : public QDialog {
    Q_OBJECT

public:
    CCompareSettingsDialog(CommPanel& panel, const SettingsComparison& comparison, QWidget* parent = nullptr);

    QTableWidget* table() const { return m_table; }
    void OnSendPanel();

private:
    void show(const SettingsComparison& comparison);

    CommPanel& m_panel;
    QTableWidget* m_table = nullptr;
    QLabel* m_summary = nullptr;
};

} // namespace vistrel
