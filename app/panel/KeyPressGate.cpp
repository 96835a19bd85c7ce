#include "app/panel/KeyPressGate.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QThread>

namespace vistrel {

KeyPressGate::KeyPressGate() : m_loopLevel(QThread::currentThread()->loopLevel()) {
    QCoreApplication::instance()->installEventFilter(this);
}

KeyPressGate::~KeyPressGate() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool KeyPressGate::eventFilter(QObject* watched, QEvent* event) {
    if (QThread::currentThread()->loopLevel() != m_loopLevel) {
        return QObject::eventFilter(watched, event);
    }
    // A shortcut is looked up before its key press is delivered: refusing the look-up keeps
    // Ctrl+O and the menus' keys from running a command here.
    if (event->type() == QEvent::ShortcutOverride) {
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            m_escapePressed = true;
        }
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vistrel
