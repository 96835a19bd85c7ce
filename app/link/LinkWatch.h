#pragma once

#include "link/ObservedLink.h"
#include "shell/AppState.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

namespace vistrel {

class CommPanel;

// Watches the connected RS-232 link while the program is idle: checks it four times a second, so an
// unplugged device shows as "Connexion lost" within half a second. After a loss, when "Auto
// Reconnect" is on, it tries the same device every 500 ms and connects as "Connection" does, then
// sends the panel again when "Reapply After Reconnect" is on. A Camera Link loss cannot be seen.
class LinkWatch : public QObject, public LinkObserver {
    Q_OBJECT

public:
    static constexpr int kCheckIntervalMs = 250;
    static constexpr int kReconnectIntervalMs = 500;

    // `changed` runs after the watch changed the connection state (the frame's update handlers).
    LinkWatch(CommPanel& panel, ObservedLink& link, AppState& state, std::function<void()> changed);

    void onLinkEvent(const LinkEvent& event) override;
    // A loss is waiting for its device to come back.
    bool reconnecting() const { return m_reconnecting; }

private:
    void tick();
    void tryReconnect();

    CommPanel& m_panel;
    ObservedLink& m_link;
    AppState& m_state;
    std::function<void()> m_changed;
    QTimer m_timer;
    bool m_reconnecting = false;
    std::string m_device; // the device that was lost
    int m_ticks = 0;
    bool m_inTick = false;
};

} // namespace vistrel
