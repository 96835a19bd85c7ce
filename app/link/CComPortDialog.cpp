#include "app/link/CComPortDialog.h"

#include "app/link/LinkControlIds.h"
#include "link/ComPortChoice.h"
#include "link/SerialDevices.h"
#include "ui_ComPortDialog.h"

#include <QString>

namespace vistrel {

namespace {

void name(QWidget* widget, int id) {
    widget->setObjectName(QString::number(id));
}

} // namespace

CComPortDialog::CComPortDialog(LinkState& link, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::ComPortDialog>()), m_link(link) {
    m_ui->setupUi(this);
    setFixedSize(size());
    name(m_ui->radioCom1, kIdCom1Radio);
    name(m_ui->radioCom2, kIdCom2Radio);
    name(m_ui->comboBaudRate, kIdBaudRateList);
    name(m_ui->buttonOk, kIdOk);
    name(m_ui->buttonCancel, kIdCancel);
    name(m_ui->comboCom1Device, kIdCom1Device);
    name(m_ui->comboCom2Device, kIdCom2Device);
    // Stable device names are long: the drop-down shows them whole.
    for (QComboBox* combo : {m_ui->comboCom1Device, m_ui->comboCom2Device}) {
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        combo->setFixedWidth(combo->geometry().width());
        combo->setCompleter(nullptr); // typing completes to no listed text with its details
        connect(combo, &QComboBox::activated, combo,
                [combo](int index) { combo->setEditText(combo->itemData(index).toString()); });
    }
    connect(m_ui->buttonOk, &QPushButton::clicked, this, &CComPortDialog::OnOK);
    connect(m_ui->buttonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

CComPortDialog::~CComPortDialog() = default;

void CComPortDialog::showEvent(QShowEvent* event) {
    OnInitDialog();
    QDialog::showEvent(event);
}

void CComPortDialog::OnInitDialog() {
    exchangeToControls();
    m_rateIndex = BaudRateIndexOnOpening(m_link);
    exchangeToControls();
    fillDevices();
    m_ui->radioCom1->setFocus();
}

void CComPortDialog::exchangeToControls() {
    // A radio group without a valid position shows no choice.
    m_ui->radioCom1->setAutoExclusive(false);
    m_ui->radioCom2->setAutoExclusive(false);
    m_ui->radioCom1->setChecked(m_portIndex == 0);
    m_ui->radioCom2->setChecked(m_portIndex == 1);
    m_ui->radioCom1->setAutoExclusive(true);
    m_ui->radioCom2->setAutoExclusive(true);
    m_ui->comboBaudRate->setCurrentIndex(m_rateIndex >= 0 && m_rateIndex < 3 ? m_rateIndex : -1);
}

void CComPortDialog::fillDevices() {
    const std::vector<SerialDevice> devices = ListSerialDevices();
    QComboBox* combos[2] = {m_ui->comboCom1Device, m_ui->comboCom2Device};
    for (int slot = 0; slot < 2; ++slot) {
        QComboBox* combo = combos[slot];
        combo->clear();
        // Each device with what it is beside its path (the kernel name behind a stable name, the
        // USB adapter's ids, maker, product and serial number); picking one puts the path alone
        // in the field.
        for (const SerialDevice& device : devices) {
            const QString path = QString::fromStdString(device.path);
            const QString details = QString::fromStdString(device.details());
            combo->addItem(details.isEmpty() ? path : path + QStringLiteral("  (") + details + QLatin1Char(')'), path);
            QString tip = details;
            if (!device.stableName.empty()) {
                tip += QStringLiteral("\nStable name: ") + QString::fromStdString(device.stableName);
            }
            combo->setItemData(combo->count() - 1, tip.trimmed(), Qt::ToolTipRole);
        }
        combo->setEditText(QString::fromStdString(ComDeviceOf(m_link, slot + 1)));
    }
}

void CComPortDialog::OnOK() {
    m_portIndex = m_ui->radioCom1->isChecked() ? 0 : (m_ui->radioCom2->isChecked() ? 1 : -1);
    m_rateIndex = m_ui->comboBaudRate->currentIndex();
    m_link.LinkBaudRate = BaudRateOfIndex(m_rateIndex);
    QComboBox* combos[2] = {m_ui->comboCom1Device, m_ui->comboCom2Device};
    for (int slot = 0; slot < 2; ++slot) {
        const QString text = combos[slot]->currentText().trimmed();
        // An emptied box means the port's usual device.
        m_link.ComDevice[slot] = text.isEmpty() ? std::string(kDefaultComDevice[slot]) : text.toStdString();
    }
    accept();
}

} // namespace vistrel
