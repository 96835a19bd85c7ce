#include "app/link/BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace vistrel {

namespace {
int holders = 0;
} // namespace

void BusyCursor::hold() {
    if (holders++ == 0) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
}

void BusyCursor::release() {
    if (holders > 0 && --holders == 0) {
        QGuiApplication::restoreOverrideCursor();
    }
}

} // namespace vistrel
