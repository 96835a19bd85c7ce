#pragma once

#include <QString>
#include <QWidget>
#include <string>

class QLineEdit;
class QListWidget;

namespace vistrel {

// A list always shown with an edit field above it. Picking an entry puts its text into the edit
// field; the value of the control is the edit field's text, typed or picked. Entries keep the order
// they were inserted in and the bytes they were inserted with. The edit field is the one tab stop:
// the arrow keys there move through the list.
class EditableList : public QWidget {
    Q_OBJECT

public:
    explicit EditableList(QWidget* parent = nullptr);

    void clear();
    // Inserts at `position`; -1 or a position past the end appends.
    void insertEntry(int position, const std::string& bytes);
    int count() const;
    std::string entryBytes(int index) const;
    QString entryShown(int index) const;

    // Selected entry, -1 for none. Selecting an entry puts its text into the edit field; -1 (or an
    // index past the end) clears the selection and the edit field. Emits nothing.
    int selection() const;
    void select(int index);

    // The edit field: the bytes it was given while it still shows them, else the typed text.
    std::string editBytes() const;
    void setEditBytes(const std::string& bytes);

    QLineEdit* editField() const { return m_edit; }
    QListWidget* list() const { return m_list; }

signals:
    void entryDoubleClicked(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showEntryInEditField(int index);

    QLineEdit* m_edit = nullptr;
    QListWidget* m_list = nullptr;
    std::string m_editBytes;
    QString m_editShown;
};

} // namespace vistrel
