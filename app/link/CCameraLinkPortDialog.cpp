#include "app/link/CCameraLinkPortDialog.h"

#include "app/link/LinkControlIds.h"
#include "link/CameraLinkPorts.h"
#include "ui_CameraLinkPortDialog.h"

#include <QString>

namespace vistrel {

CCameraLinkPortDialog::CCameraLinkPortDialog(LinkState& link, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CameraLinkPortDialog>()), m_link(link) {
    m_ui->setupUi(this);
    setFixedSize(size());
    m_ui->listPorts->setObjectName(QString::number(kIdCameraLinkPortList));
    m_ui->buttonOk->setObjectName(QString::number(kIdOk));
    m_ui->buttonCancel->setObjectName(QString::number(kIdCancel));
    connect(m_ui->buttonOk, &QPushButton::clicked, this, &CCameraLinkPortDialog::OnOK);
    connect(m_ui->listPorts, &QListWidget::itemDoubleClicked, this, &CCameraLinkPortDialog::OnOK);
    connect(m_ui->buttonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

CCameraLinkPortDialog::~CCameraLinkPortDialog() = default;

void CCameraLinkPortDialog::showEvent(QShowEvent* event) {
    OnInitDialog();
    QDialog::showEvent(event);
}

void CCameraLinkPortDialog::OnInitDialog() {
    m_ui->listPorts->clear();
    for (int port : ListCameraLinkPorts(m_link)) {
        m_ui->listPorts->addItem(QString::fromStdString(CameraLinkPortItemText(port)));
    }
    if (m_ui->listPorts->count() > 0) {
        m_ui->listPorts->setCurrentRow(0);
    }
    m_ui->buttonOk->setFocus();
}

void CCameraLinkPortDialog::OnOK() {
    m_link.CameraLinkPort = m_ui->listPorts->count() > 0 ? m_ui->listPorts->currentRow() : -1;
    accept();
}

} // namespace vistrel
