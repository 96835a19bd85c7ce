#include "app/TranscriptWindow.h"

#include "app/TranscriptModel.h"
#include "link/TranscriptJson.h"
#include "platform/AtomicReplace.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>
#include <set>

namespace vistrel {

TranscriptWindow::TranscriptWindow(TranscriptModel& model, TranscriptSettings& settings, Prompts& prompts,
                                   QWidget* parent)
    : QWidget(parent, Qt::Window), m_model(model), m_settings(settings), m_prompts(prompts) {
    setWindowTitle(QStringLiteral("Vistrel transcript"));
    setObjectName(QStringLiteral("transcript"));

    m_table = new QTableView(this);
    m_table->setModel(&m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setWordWrap(false);
    m_table->setTextElideMode(Qt::ElideRight);
    // Fixed row heights and column widths: 100 000 rows must not be measured one by one.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_table->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {95, 70, 160, 200, 190};
    for (int column = 0; column < 5; ++column) {
        m_table->setColumnWidth(column, widths[column]);
    }

    // Follows the newest row only when it was at the bottom before the rows came.
    QScrollBar* scroll = m_table->verticalScrollBar();
    connect(&m_model, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this, scroll] { m_followNewest = scroll->value() >= scroll->maximum(); });
    connect(&m_model, &QAbstractItemModel::rowsInserted, this, [this] {
        if (m_followNewest) {
            m_table->scrollToBottom();
        }
    });

    auto* save = new QPushButton(QStringLiteral("Save..."), this);
    auto* clear = new QPushButton(QStringLiteral("Clear"), this);
    connect(save, &QPushButton::clicked, this, &TranscriptWindow::onSave);
    connect(clear, &QPushButton::clicked, this, [this] { m_model.clear(); });
    auto* copy = new QShortcut(QKeySequence::Copy, m_table);
    connect(copy, &QShortcut::activated, this, &TranscriptWindow::copySelection);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addWidget(clear);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addLayout(buttons);

    if (m_settings.TranscriptWidth > 0 && m_settings.TranscriptHeight > 0) {
        resize(m_settings.TranscriptWidth, m_settings.TranscriptHeight);
        move(m_settings.TranscriptXpos, m_settings.TranscriptYpos);
    } else {
        resize(820, 420);
    }
}

void TranscriptWindow::keepPlace() {
    const QRect frame = frameGeometry();
    m_settings.TranscriptXpos = frame.x();
    m_settings.TranscriptYpos = frame.y();
    m_settings.TranscriptWidth = width();
    m_settings.TranscriptHeight = height();
}

void TranscriptWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    keepPlace();
}

void TranscriptWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    keepPlace();
}

// Opened, the window shows the newest rows and follows them, as a log does.
void TranscriptWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_model.flush();
    m_table->scrollToBottom();
    m_followNewest = true;
}

FileResult TranscriptWindow::saveTo(const QString& path) const {
    m_model.flush();
    const bool json = path.endsWith(QStringLiteral(".jsonl"), Qt::CaseInsensitive);
    std::string contents;
    for (int row = 0; row < m_model.rowCount(); ++row) {
        contents += json ? transcriptJsonLine(m_model.event(row)) : m_model.rowText(row).toStdString();
        contents += '\n';
    }
    return replaceFileAtomically(path.toStdString(), contents);
}

void TranscriptWindow::onSave() {
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Save the transcript"), QString(),
                                     QStringLiteral("JSON Lines (*.jsonl);;Text (*.txt);;All files (*)"));
    if (path.isEmpty()) {
        return;
    }
    if (const FileResult saved = saveTo(path); !saved.ok) {
        m_prompts.tell("The transcript could not be saved: " + saved.reason);
    }
}

QString TranscriptWindow::selectedText() const {
    std::set<int> rows;
    for (const QModelIndex& index : m_table->selectionModel()->selectedIndexes()) {
        rows.insert(index.row());
    }
    QStringList lines;
    for (const int row : rows) {
        lines << m_model.rowText(row);
    }
    return lines.join(QLatin1Char('\n'));
}

void TranscriptWindow::copySelection() const {
    QApplication::clipboard()->setText(selectedText());
}

} // namespace vistrel
