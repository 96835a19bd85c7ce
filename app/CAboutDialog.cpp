#include "app/CAboutDialog.h"

#include "app/AboutControlIds.h"
#include "shell/AboutTexts.h"
#include "ui_AboutDialog.h"

#include <QPalette>

namespace vistrel {

CAboutDialog::CAboutDialog(SystemQueries queries, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_ui(std::make_unique<Ui::AboutDialog>()), m_queries(std::move(queries)) {
    m_ui->setupUi(this);
    setFixedSize(size());
    // The layout is converted from dialog units of an 8-point font at 96 dpi, 11 pixels high; texts
    // in a larger font would not fit their places.
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    m_ui->buttonOk->setObjectName(QString::number(kIdAboutOk));
    m_ui->labelVersion->setObjectName(QString::number(kIdAboutVersion));
    m_ui->labelSystem->setObjectName(QString::number(kIdAboutSystem));
    m_ui->buttonBitmap->setObjectName(QString::number(kIdAboutBitmap));
    QPalette rule = m_ui->ruleSystem->palette();
    rule.setColor(QPalette::WindowText, Qt::black);
    m_ui->ruleSystem->setPalette(rule);
    connect(m_ui->buttonOk, &QPushButton::clicked, this, &QDialog::accept);
    OnInitDialog();
}

CAboutDialog::~CAboutDialog() = default;

void CAboutDialog::OnInitDialog() {
    m_ui->labelVersion->setText(QString::fromStdString(aboutVersionLine(m_ui->labelVersion->text().toStdString())));
    m_ui->labelSystem->setText(
        QString::fromStdString(aboutSystemLine(m_queries.physicalMemoryBytes(), m_queries.freeDiskBytes())));

    // One image for every state of the button; a click on it does nothing.
    QPushButton* bitmap = m_ui->buttonBitmap;
    bitmap->setIcon(QIcon(QStringLiteral(":/about/vistrel.png")));
    bitmap->setIconSize(bitmap->size() - QSize(2, 1));
    m_ui->buttonOk->setFocus();
}

} // namespace vistrel
