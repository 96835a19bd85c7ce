#include "app/panel/EditableList.h"

#include "app/panel/EntryBytes.h"
#include "app/platform/QtPrompts.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace vistrel {

namespace {
constexpr int kBytesRole = Qt::UserRole;
}

EditableList::EditableList(QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_list(new QListWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_edit);
    layout->addWidget(m_list, 1);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setSortingEnabled(false);
    m_list->setFocusPolicy(Qt::NoFocus);
    setFocusProxy(m_edit);
    m_edit->installEventFilter(this);

    // The user picking an entry, by mouse or keys, shows it in the edit field.
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] { showEntryInEditField(selection()); });
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { emit entryDoubleClicked(m_list->row(item)); });
}

void EditableList::clear() {
    const QSignalBlocker blocker(m_list);
    m_list->clear();
}

void EditableList::insertEntry(int position, const std::string& bytes) {
    auto* item = new QListWidgetItem(displayText(bytes));
    item->setData(kBytesRole, toByteArray(bytes));
    const QSignalBlocker blocker(m_list);
    if (position < 0 || position > m_list->count()) {
        position = m_list->count();
    }
    m_list->insertItem(position, item);
}

int EditableList::count() const {
    return m_list->count();
}

std::string EditableList::entryBytes(int index) const {
    const QListWidgetItem* item = m_list->item(index);
    return item != nullptr ? toBytes(item->data(kBytesRole).toByteArray()) : std::string();
}

QString EditableList::entryShown(int index) const {
    const QListWidgetItem* item = m_list->item(index);
    return item != nullptr ? item->text() : QString();
}

int EditableList::selection() const {
    // The current row alone is no selection: a list taking the focus makes its first row current.
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.first());
}

void EditableList::select(int index) {
    {
        const QSignalBlocker blocker(m_list);
        if (index < 0 || index >= m_list->count()) {
            // Like a combo box with an edit field: no selection leaves the edit field empty.
            m_list->clearSelection();
            m_list->setCurrentRow(-1, QItemSelectionModel::Clear);
            setEditBytes(std::string());
            return;
        }
        m_list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
        m_list->scrollToItem(m_list->item(index));
    }
    showEntryInEditField(index);
}

void EditableList::showEntryInEditField(int index) {
    if (index >= 0 && index < m_list->count()) {
        setEditBytes(entryBytes(index));
    }
}

bool EditableList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress && m_list->count() > 0) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            const int current = selection();
            const int next = current < 0 ? 0 : current + (key == Qt::Key_Down ? 1 : -1);
            if (next >= 0 && next < m_list->count()) {
                m_list->setCurrentRow(next, QItemSelectionModel::ClearAndSelect);
                m_list->scrollToItem(m_list->item(next));
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

std::string EditableList::editBytes() const {
    const QString shown = m_edit->text();
    return shown == m_editShown ? m_editBytes : typedBytes(shown);
}

void EditableList::setEditBytes(const std::string& bytes) {
    m_editBytes = bytes;
    m_editShown = displayText(bytes);
    m_edit->setText(m_editShown);
}

} // namespace vistrel
