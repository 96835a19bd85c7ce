#pragma once

#include <QObject>

namespace vistrel {

// While it lives, key presses reach no widget and trigger no shortcut; Escape among them is noted.
// The panel's long sequences dispatch events between two steps under it, so that only Escape acts
// on them. A message box or dialog opened by a dispatched event runs its own loop and gets its keys.
class KeyPressGate : public QObject {
    Q_OBJECT

public:
    KeyPressGate();
    ~KeyPressGate() override;
    KeyPressGate(const KeyPressGate&) = delete;
    KeyPressGate& operator=(const KeyPressGate&) = delete;

    bool escapePressed() const { return m_escapePressed; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int m_loopLevel = 0;
    bool m_escapePressed = false;
};

} // namespace vistrel
