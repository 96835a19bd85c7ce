#pragma once

#include <QObject>

namespace vistrel {

class Prompts;

// Halvex32's host effects: the beep of a failed connection and the busy cursor of an exchange.
// The library calls them on whatever thread runs it (a worker, while the window stays
// responsive), so each effect is queued to this object's thread, the GUI thread.
class HalvexHostHooks : public QObject {
    Q_OBJECT

public:
    explicit HalvexHostHooks(Prompts& prompts, QObject* parent = nullptr);
    // Unregisters from the library, and clears a busy cursor still shown.
    ~HalvexHostHooks() override;
    HalvexHostHooks(const HalvexHostHooks&) = delete;
    HalvexHostHooks& operator=(const HalvexHostHooks&) = delete;

    // Registers with Halvex32; no library call may be running.
    void install();

    // The callbacks as the library calls them, with this object as context.
    static void beep(void* context);
    static void busyCursor(void* context, int busy);

private:
    void showBusy(bool busy);

    Prompts& m_prompts;
    bool m_installed = false;
    int m_busyDepth = 0;
};

} // namespace vistrel
