#pragma once

#include "link/ObservedLink.h"

#include <QAbstractTableModel>
#include <QTimer>
#include <deque>
#include <vector>

namespace vistrel {

// The rows of the transcript: every operation of the program's link, the newest last. Keeps at
// most `capacity` rows (older ones drop off the top); operations arrive in batches, so that a burst
// of them costs one update of the views.
class TranscriptModel : public QAbstractTableModel, public LinkObserver {
    Q_OBJECT

public:
    static constexpr int kCapacity = 100000;
    enum Column { Time, Operation, Command, Reply, Result, Duration, ColumnCount };

    explicit TranscriptModel(int capacity = kCapacity, QObject* parent = nullptr);

    void onLinkEvent(const LinkEvent& event) override;
    // Takes the waiting operations in now (they are otherwise taken in within a few milliseconds).
    void flush();
    void clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const LinkEvent& event(int row) const { return m_rows[static_cast<std::size_t>(row)]; }
    // A cell as the window shows it: plain text, every byte that is not printable escaped.
    QString cellText(int row, int column) const;
    // A row as the text save writes it: the cells separated by tabs.
    QString rowText(int row) const;

    // Failed: a lost link, an open or close that did not happen, an exchange without a reply.
    static bool failed(const LinkEvent& event);

private:
    int m_capacity;
    std::deque<LinkEvent> m_rows;
    std::vector<LinkEvent> m_waiting;
    QTimer m_batch;
};

} // namespace vistrel
