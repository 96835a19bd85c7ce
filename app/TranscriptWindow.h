#pragma once

#include "platform/FileResult.h"
#include "platform/Prompts.h"
#include "settings/TranscriptSettings.h"

#include <QWidget>

class QTableView;

namespace vistrel {

class TranscriptModel;

// "Vistrel transcript": a window of its own, beside the main frame and never modal, that shows the
// transcript's rows, follows the newest unless the user scrolled up, and saves, clears and copies
// them. Its place is kept in the transcript settings.
class TranscriptWindow : public QWidget {
    Q_OBJECT

public:
    TranscriptWindow(TranscriptModel& model, TranscriptSettings& settings, Prompts& prompts, QWidget* parent = nullptr);

    // Writes the rows kept: JSON Lines for a name ending in ".jsonl", else the text as shown.
    FileResult saveTo(const QString& path) const;
    // The selected rows as text, one line each.
    QString selectedText() const;
    QTableView* table() const { return m_table; }

protected:
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void onSave();
    void copySelection() const;
    void keepPlace();

    TranscriptModel& m_model;
    TranscriptSettings& m_settings;
    Prompts& m_prompts;
    QTableView* m_table = nullptr;
    bool m_followNewest = true;
};

} // namespace vistrel
