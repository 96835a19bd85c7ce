#pragma once

#include "panel/PanelView.h"

#include <QHash>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;

namespace vistrel {

class CommPanel;
class EditableList;

// The panel: a fixed form of 313 x 255 dialog units shown in the frame's scroll area. It owns the
// widgets, forwards the user's actions to the panel logic and shows what the logic gives it.
class CCommView : public QWidget, public PanelView {
    Q_OBJECT

public:
    static constexpr int kWidthUnits = 313;
    static constexpr int kHeightUnits = 255;

    explicit CCommView(QWidget* parent = nullptr);

    // The panel logic takes the view in its constructor, so it is attached afterwards; from then on
    // the user's actions on the controls run its handlers. Until then they go nowhere.
    void setPanel(CommPanel* panel);

    void setCaption(int id, const std::string& text) override;
    void setEnabled(int id, bool enabled) override;
    void clearEntries(int id) override;
    void insertEntry(int id, int position, const std::string& text) override;
    int entryCount(int id) const override;
    std::string entryText(int id, int index) const override;
    int selection(int id) const override;
    void select(int id, int index) override;
    std::string editText(int id) const override;
    void setEditText(int id, const std::string& text) override;
    bool checked(int id) const override;
    void setChecked(int id, bool checked) override;
    void showReply(const std::string& text) override;
    void showStatusLine(const std::string& text) override;
    bool pumpOneMessage() override;
    // From now on every pump step reports Escape, so a running load or apply stops at its next step.
    void stopSequences() { m_stopping = true; }

    using QWidget::setEnabled;

private:
    void createControls();
    void forwardNotifications();

    CommPanel* m_panel = nullptr;
    bool m_forwarding = false;
    bool m_stopping = false;
    QHash<int, QGroupBox*> m_groups;
    QHash<int, QComboBox*> m_combos; // the eight drop-down lists and 1020
    QHash<int, QCheckBox*> m_checks;
    QHash<int, EditableList*> m_lists;
    QPlainTextEdit* m_messageArea = nullptr;
    QLabel* m_statusLine = nullptr;
};

} // namespace vistrel
