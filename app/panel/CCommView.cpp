#include "app/panel/CCommView.h"

#include "app/CutTextToolTip.h"
#include "app/panel/DialogUnits.h"
#include "app/panel/EditableList.h"
#include "app/panel/EntryBytes.h"
#include "app/panel/KeyPressGate.h"
#include "app/platform/QtPrompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace vistrel {

namespace {

constexpr int kBytesRole = Qt::UserRole;

enum class Kind { Group, DropDown, Check, List, Button, MessageArea, Static, FreeText };

struct TemplateControl {
    int id; // 0 for a control without id
    Kind kind;
    const char* caption;
    int x, y, width, height; // dialog units; the height of a drop-down is its dropped height
    bool disabled;
};

// Template 101 in its tab order.
constexpr TemplateControl kTemplate[] = {
    {1000, Kind::Group, "", 8, 4, 72, 32, false},
    {1029, Kind::DropDown, "", 12, 16, 64, 60, true},
    {1001, Kind::Group, "", 8, 40, 72, 32, false},
    {1024, Kind::DropDown, "", 12, 52, 64, 60, true},
    {1002, Kind::Group, "", 84, 4, 72, 32, false},
    {1028, Kind::DropDown, "", 88, 16, 64, 60, true},
    {1003, Kind::Group, "", 236, 4, 72, 32, false},
    {1030, Kind::DropDown, "", 88, 52, 64, 60, true},
    {1005, Kind::Group, "", 160, 40, 72, 32, false},
    {1034, Kind::DropDown, "", 164, 52, 64, 60, true},
    {1031, Kind::Check, "", 12, 72, 68, 18, true},
    {1032, Kind::Check, "", 88, 72, 68, 18, true},
    {1035, Kind::Check, "", 164, 72, 68, 18, true},
    {1006, Kind::Group, "", 12, 92, 52, 84, false},
    {110, Kind::List, "", 20, 104, 38, 52, true},
    {1046, Kind::Button, "Apply", 20, 160, 38, 12, true},
    {111, Kind::List, "", 80, 105, 38, 52, true},
    {112, Kind::List, "", 140, 104, 38, 52, true},
    {113, Kind::List, "", 200, 104, 38, 52, true},
    {126, Kind::MessageArea, "", 11, 216, 293, 32, false},
    {0, Kind::Group, "Status", 192, 183, 112, 28, false},
    {1014, Kind::Static, "-", 199, 193, 98, 11, false},
    {1036, Kind::Check, "", 240, 72, 68, 18, true},
    {1007, Kind::Group, "", 72, 92, 52, 84, false},
    {1008, Kind::Group, "", 132, 92, 52, 84, false},
    {1009, Kind::Group, "", 192, 92, 52, 84, false},
    {1010, Kind::Group, "", 252, 92, 52, 84, false},
    {114, Kind::List, "", 260, 104, 38, 52, true},
    {1047, Kind::Button, "Apply", 80, 160, 38, 12, true},
    {1048, Kind::Button, "Apply", 140, 160, 38, 12, true},
    {1049, Kind::Button, "Apply", 200, 160, 38, 12, true},
    {1050, Kind::Button, "Apply", 260, 160, 38, 12, true},
    {1011, Kind::Group, "", 236, 40, 72, 32, false},
    {1037, Kind::DropDown, "", 240, 52, 64, 60, true},
    {1004, Kind::Group, "", 160, 4, 72, 32, false},
    {1013, Kind::Group, "", 84, 40, 72, 32, false},
    {1038, Kind::DropDown, "", 240, 16, 64, 60, true},
    {1033, Kind::DropDown, "", 164, 16, 64, 60, true},
    {0, Kind::Group, "Free programming area", 12, 183, 173, 28, false},
    {1051, Kind::Button, "Send", 141, 194, 38, 12, true},
    {1020, Kind::FreeText, "", 17, 194, 119, 60, true},
};

// Entries a drop-down shows before it scrolls: its dropped height of 60 units less the closed box.
constexpr int kDroppedEntries = 5;

QComboBox* makeComboBox(QWidget* parent, bool editable) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(editable);
    combo->setMaxVisibleItems(kDroppedEntries);
    // Dropped below the box as a scrolling list, not as a menu over it that ignores the height.
    combo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    if (editable) {
        // What the user types is sent as it is: no completion, nothing added on Return.
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
    }
    return combo;
}

} // namespace

CCommView::CCommView(QWidget* parent) : QWidget(parent) {
    setFont(dialogFont());
    createControls();
    setFixedSize(dialogUnitsAcross(kWidthUnits), dialogUnitsDown(kHeightUnits));
    setCursor(Qt::ArrowCursor);
}

void CCommView::createControls() {
    // Created in tab order, so the focus chain is the template's. Group boxes are stacked below
    // everything else afterwards: they frame controls and must not take their clicks.
    QList<QGroupBox*> frames;
    for (const TemplateControl& entry : kTemplate) {
        const QRect rect = dialogRect(entry.x, entry.y, entry.width, entry.height);
        const QString caption = QString::fromLatin1(entry.caption);
        QWidget* widget = nullptr;
        switch (entry.kind) {
        case Kind::Group: {
            auto* group = new QGroupBox(caption, this);
            CutTextToolTip::install(group);
            frames.append(group);
            if (entry.id != 0) {
                m_groups.insert(entry.id, group);
            }
            widget = group;
            break;
        }
        case Kind::DropDown:
        case Kind::FreeText: {
            QComboBox* combo = makeComboBox(this, entry.kind == Kind::FreeText);
            m_combos.insert(entry.id, combo);
            widget = combo;
            break;
        }
        case Kind::Check: {
            auto* check = new QCheckBox(caption, this);
            CutTextToolTip::install(check);
            m_checks.insert(entry.id, check);
            widget = check;
            break;
        }
        case Kind::List: {
            auto* list = new EditableList(this);
            m_lists.insert(entry.id, list);
            widget = list;
            break;
        }
        case Kind::Button:
            widget = new QPushButton(caption, this);
            break;
        case Kind::MessageArea:
            m_messageArea = new QPlainTextEdit(this);
            m_messageArea->setReadOnly(true);
            m_messageArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            widget = m_messageArea;
            break;
        case Kind::Static:
            m_statusLine = new QLabel(caption, this);
            m_statusLine->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            m_statusLine->setTextFormat(Qt::PlainText);
            widget = m_statusLine;
            break;
        }
        if (entry.id != 0) {
            widget->setObjectName(QString::number(entry.id));
        }
        if (entry.kind == Kind::DropDown || entry.kind == Kind::FreeText) {
            // A closed drop-down keeps its natural height; the template's height is the dropped one.
            widget->setGeometry(rect.x(), rect.y(), rect.width(), widget->sizeHint().height());
        } else {
            widget->setGeometry(rect);
        }
        widget->setEnabled(!entry.disabled);
    }
    for (QGroupBox* frame : frames) {
        frame->lower();
    }
}

void CCommView::setCaption(int id, const std::string& text) {
    // An '&' of a description is a character to show, not a keyboard shortcut.
    const QString caption = displayText(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
    if (QGroupBox* group = m_groups.value(id)) {
        group->setTitle(caption);
    } else if (QCheckBox* check = m_checks.value(id)) {
        check->setText(caption);
    }
}

void CCommView::setEnabled(int id, bool enabled) {
    if (auto* widget = findChild<QWidget*>(QString::number(id), Qt::FindDirectChildrenOnly)) {
        widget->setEnabled(enabled);
    }
}

void CCommView::clearEntries(int id) {
    if (QComboBox* combo = m_combos.value(id)) {
        const QSignalBlocker blocker(combo);
        combo->clear();
    } else if (EditableList* list = m_lists.value(id)) {
        list->clear();
    }
}

void CCommView::insertEntry(int id, int position, const std::string& text) {
    if (QComboBox* combo = m_combos.value(id)) {
        const QSignalBlocker blocker(combo);
        const bool hadSelection = combo->currentIndex() >= 0;
        const QString edited = combo->isEditable() ? combo->currentText() : QString();
        if (position < 0 || position > combo->count()) {
            position = combo->count();
        }
        combo->insertItem(position, displayText(text), toByteArray(text));
        // A combo box selects its first entry by itself; a list filled here starts without selection.
        if (!hadSelection && combo->currentIndex() >= 0) {
            combo->setCurrentIndex(-1);
            if (combo->isEditable()) {
                combo->setEditText(edited);
            }
        }
    } else if (EditableList* list = m_lists.value(id)) {
        list->insertEntry(position, text);
    }
}

int CCommView::entryCount(int id) const {
    if (const QComboBox* combo = m_combos.value(id)) {
        return combo->count();
    }
    if (const EditableList* list = m_lists.value(id)) {
        return list->count();
    }
    return 0;
}

std::string CCommView::entryText(int id, int index) const {
    if (const QComboBox* combo = m_combos.value(id)) {
        return index >= 0 && index < combo->count() ? toBytes(combo->itemData(index, kBytesRole).toByteArray())
                                                    : std::string();
    }
    if (const EditableList* list = m_lists.value(id)) {
        return list->entryBytes(index);
    }
    return {};
}

int CCommView::selection(int id) const {
    if (const QComboBox* combo = m_combos.value(id)) {
        return combo->currentIndex();
    }
    if (const EditableList* list = m_lists.value(id)) {
        return list->selection();
    }
    return -1;
}

void CCommView::select(int id, int index) {
    if (QComboBox* combo = m_combos.value(id)) {
        const QSignalBlocker blocker(combo);
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    } else if (EditableList* list = m_lists.value(id)) {
        list->select(index);
    }
}

std::string CCommView::editText(int id) const {
    if (const QComboBox* combo = m_combos.value(id)) {
        const int current = combo->currentIndex();
        // A picked entry that is still shown as it was goes back as the bytes it was inserted with.
        if (current >= 0 && combo->currentText() == combo->itemText(current)) {
            return toBytes(combo->itemData(current, kBytesRole).toByteArray());
        }
        return typedBytes(combo->currentText());
    }
    if (const EditableList* list = m_lists.value(id)) {
        return list->editBytes();
    }
    return {};
}

void CCommView::setEditText(int id, const std::string& text) {
    if (QComboBox* combo = m_combos.value(id)) {
        if (combo->isEditable()) {
            const QSignalBlocker blocker(combo);
            combo->setEditText(displayText(text));
        }
    } else if (EditableList* list = m_lists.value(id)) {
        list->setEditBytes(text);
    }
}

bool CCommView::checked(int id) const {
    const QCheckBox* check = m_checks.value(id);
    return check != nullptr && check->isChecked();
}

void CCommView::setChecked(int id, bool checked) {
    if (QCheckBox* check = m_checks.value(id)) {
        const QSignalBlocker blocker(check);
        check->setChecked(checked);
    }
}

void CCommView::showReply(const std::string& text) {
    QString shown = displayText(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_messageArea->setPlainText(shown);
}

void CCommView::showStatusLine(const std::string& text) {
    m_statusLine->setText(displayText(text));
}

bool CCommView::pumpOneMessage() {
    if (m_stopping) {
        return true;
    }
    const KeyPressGate gate;
    QCoreApplication::processEvents();
    return gate.escapePressed();
}

} // namespace vistrel
