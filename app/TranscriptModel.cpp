#include "app/TranscriptModel.h"

#include "link/EscapedBytes.h"

#include <QBrush>
#include <QColor>
#include <ctime>

namespace vistrel {

namespace {

QString localTimeText(std::int64_t utcMs) {
    const auto seconds = static_cast<std::time_t>(utcMs / 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(utcMs % 1000));
    return QString::fromLatin1(text);
}

QString visible(const std::string& bytes) {
    return QString::fromLatin1(escapedBytes(bytes));
}

} // namespace

TranscriptModel::TranscriptModel(int capacity, QObject* parent) : QAbstractTableModel(parent), m_capacity(capacity) {
    m_batch.setSingleShot(true);
    m_batch.setInterval(20);
    connect(&m_batch, &QTimer::timeout, this, &TranscriptModel::flush);
}

bool TranscriptModel::failed(const LinkEvent& event) {
    switch (event.op) {
    case LinkOp::Lost:
        return true;
    case LinkOp::Exchange:
        return event.result <= 0;
    case LinkOp::Open:
    case LinkOp::Close:
        return event.result == 0;
    }
    return false;
}

void TranscriptModel::onLinkEvent(const LinkEvent& event) {
    m_waiting.push_back(event);
    if (!m_batch.isActive()) {
        m_batch.start();
    }
}

void TranscriptModel::flush() {
    m_batch.stop();
    if (m_waiting.empty()) {
        return;
    }
    // Only the newest `capacity` of the waiting ones can stay.
    std::size_t first = 0;
    if (m_waiting.size() > static_cast<std::size_t>(m_capacity)) {
        first = m_waiting.size() - static_cast<std::size_t>(m_capacity);
    }
    const auto incoming = static_cast<int>(m_waiting.size() - first);
    const int overflow = static_cast<int>(m_rows.size()) + incoming - m_capacity;
    if (overflow > 0) {
        beginRemoveRows({}, 0, overflow - 1);
        m_rows.erase(m_rows.begin(), m_rows.begin() + overflow);
        endRemoveRows();
    }
    const int at = static_cast<int>(m_rows.size());
    beginInsertRows({}, at, at + incoming - 1);
    for (std::size_t i = first; i < m_waiting.size(); ++i) {
        m_rows.push_back(std::move(m_waiting[i]));
    }
    endInsertRows();
    m_waiting.clear();
}

void TranscriptModel::clear() {
    beginResetModel();
    m_rows.clear();
    m_waiting.clear();
    endResetModel();
}

int TranscriptModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TranscriptModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString TranscriptModel::cellText(int row, int column) const {
    const LinkEvent& e = event(row);
    switch (column) {
    case Time:
        return localTimeText(e.startUtcMs);
    case Operation:
        return QString::fromLatin1(linkOpName(e.op));
    case Command:
        return e.hasCommand ? visible(e.command) : QString();
    case Reply:
        return e.hasReply ? visible(e.reply) : QString();
    case Result:
        return QString::number(e.result) + QStringLiteral(" ") + visible(e.status);
    case Duration:
        return e.op == LinkOp::Lost
                   ? QString()
                   : QString::number(static_cast<double>(e.duration.count()) / 1e6, 'f', 1) + QStringLiteral(" ms");
    default:
        return {};
    }
}

QString TranscriptModel::rowText(int row) const {
    QStringList cells;
    for (int column = 0; column < ColumnCount; ++column) {
        cells << cellText(row, column);
    }
    return cells.join(QLatin1Char('\t'));
}

QVariant TranscriptModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        return cellText(index.row(), index.column());
    }
    if (failed(event(index.row()))) {
        if (role == Qt::ForegroundRole) {
            return QBrush(QColor(0xa0, 0x00, 0x00));
        }
        if (role == Qt::BackgroundRole) {
            return QBrush(QColor(0xff, 0xe4, 0xe1));
        }
    }
    return {};
}

QVariant TranscriptModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    static const char* const kTitles[] = {"Time", "Operation", "Command", "Reply", "Result", "Duration"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(kTitles[section]) : QVariant();
}

} // namespace vistrel
