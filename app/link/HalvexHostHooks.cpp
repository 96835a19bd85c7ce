#include "app/link/HalvexHostHooks.h"

#include "app/link/BusyCursor.h"
#include "platform/Prompts.h"
#include "serial/halvex32.h"

namespace vistrel {

HalvexHostHooks::HalvexHostHooks(Prompts& prompts, QObject* parent) : QObject(parent), m_prompts(prompts) {}

HalvexHostHooks::~HalvexHostHooks() {
    if (m_installed) {
        HVX_SetHostCallbacks(nullptr, nullptr, nullptr);
    }
    while (m_busyDepth > 0) {
        showBusy(false);
    }
}

void HalvexHostHooks::install() {
    HVX_SetHostCallbacks(&HalvexHostHooks::beep, &HalvexHostHooks::busyCursor, this);
    m_installed = true;
}

void HalvexHostHooks::beep(void* context) {
    auto* hooks = static_cast<HalvexHostHooks*>(context);
    QMetaObject::invokeMethod(
        hooks, [hooks] { hooks->m_prompts.beep(BeepKind::Question); }, Qt::QueuedConnection);
}

void HalvexHostHooks::busyCursor(void* context, int busy) {
    auto* hooks = static_cast<HalvexHostHooks*>(context);
    QMetaObject::invokeMethod(
        hooks, [hooks, busy] { hooks->showBusy(busy != 0); }, Qt::QueuedConnection);
}

void HalvexHostHooks::showBusy(bool busy) {
    // Every "busy" is followed by its "not busy": the cursors pair up even when queued.
    if (busy) {
        BusyCursor::hold();
        ++m_busyDepth;
    } else if (m_busyDepth > 0) {
        BusyCursor::release();
        --m_busyDepth;
    }
}

} // namespace vistrel
