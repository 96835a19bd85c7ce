#include "app/panel/CCompareSettingsDialog.h"

#include "app/platform/QtPrompts.h"
#include "panel/CommPanel.h"

#include <QBrush>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vistrel {

namespace {

// Shown where the panel sends nothing or the report lacks the key.
const char* const kNoValue = "-";

QString valueText(const std::optional<std::string>& value) {
    return value ? displayText(*value) : QString::fromLatin1(kNoValue);
}

} // namespace

CCompareSettingsDialog::CCompareSettingsDialog(CommPanel& panel, const SettingsComparison& comparison, QWidget* parent)
    : QDialog(parent), m_panel(panel) {
    setWindowTitle(QStringLiteral("Compare with camera"));
    auto* layout = new QVBoxLayout(this);
    m_table = new QTableWidget(0, 3, this);
    m_table->setObjectName(QStringLiteral("comparison"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Control"), QStringLiteral("Panel"), QStringLiteral("Camera")});
    m_table->verticalHeader()->setVisible(false);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    layout->addWidget(m_table);
    m_summary = new QLabel(this);
    m_summary->setTextFormat(Qt::PlainText);
    layout->addWidget(m_summary);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* send = buttons->addButton(QStringLiteral("Send panel"), QDialogButtonBox::ActionRole);
    send->setObjectName(QStringLiteral("sendPanel"));
    QPushButton* close = buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("close"));
    connect(send, &QPushButton::clicked, this, &CCompareSettingsDialog::OnSendPanel);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(440, 480);
    show(comparison);
}

void CCompareSettingsDialog::OnSendPanel() {
    m_panel.OnRefresh();
    // A comparison that failed said why in a message; the table keeps the last one.
    if (const std::optional<SettingsComparison> again = m_panel.CompareWithCamera()) {
        show(*again);
    }
}

void CCompareSettingsDialog::show(const SettingsComparison& comparison) {
    m_table->setRowCount(static_cast<int>(comparison.rows.size()));
    const QBrush marked(QColor(255, 214, 214));
    for (int r = 0; r < m_table->rowCount(); ++r) {
        const ControlComparison& row = comparison.rows[static_cast<std::size_t>(r)];
        const QString cells[3] = {displayText(row.caption), valueText(row.expected), valueText(row.camera)};
        for (int c = 0; c < 3; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setToolTip(QString::fromStdString(row.control) + " (" + displayText(row.key) + ")");
            if (!row.same) {
                item->setBackground(marked);
            }
            m_table->setItem(r, c, item);
        }
        // The mark is in the text too, not only in the colour.
        if (!row.same) {
            m_table->item(r, 0)->setText(QStringLiteral("\u2260 ") + cells[0]);
        }
    }
    const int differ = comparison.differ();
    m_summary->setText(differ == 0 ? QStringLiteral("The camera agrees with the panel.")
                                   : QStringLiteral("%1 of %2 controls differ.").arg(differ).arg(m_table->rowCount()));
}

} // namespace vistrel
