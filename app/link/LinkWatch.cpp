#include "app/link/LinkWatch.h"

#include "link/ComPortChoice.h"
#include "panel/CommPanel.h"

#include <unistd.h>

namespace vistrel {

LinkWatch::LinkWatch(CommPanel& panel, ObservedLink& link, AppState& state, std::function<void()> changed)
    : m_panel(panel), m_link(link), m_state(state), m_changed(std::move(changed)) {
    m_timer.setInterval(kCheckIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &LinkWatch::tick);
    m_timer.start();
}

void LinkWatch::onLinkEvent(const LinkEvent& event) {
    switch (event.op) {
    case LinkOp::Lost:
        if (m_state.link.LinkKind != kLinkCameraLink) {
            m_reconnecting = true;
            m_device = ComDeviceOf(m_state.link, m_state.link.LinkKind);
            m_ticks = 0;
        }
        break;
    case LinkOp::Open:
        // Connected by hand or by the watch: nothing more to wait for.
        if (event.result != 0) {
            m_reconnecting = false;
        }
        break;
    case LinkOp::Close:
        m_reconnecting = false; // the user disconnected
        break;
    case LinkOp::Exchange:
        break;
    }
}

void LinkWatch::tick() {
    // A tick can come while a connection started by the previous one waits for its answer.
    if (m_inTick || m_link.busy() || m_state.records.SequenceRunning) {
        return;
    }
    m_inTick = true;
    const ConnectionState& connection = m_state.records.connection;
    if (connection.CameraConnected != 0 && m_state.link.LinkKind != kLinkCameraLink) {
        m_panel.CheckLink();
        if (connection.CameraConnected == 0) {
            m_changed();
        }
    } else if (m_reconnecting && ++m_ticks * kCheckIntervalMs >= kReconnectIntervalMs) {
        m_ticks = 0;
        tryReconnect();
    }
    m_inTick = false;
}

void LinkWatch::tryReconnect() {
    const bool sameDevice =
        m_state.link.LinkKind != kLinkCameraLink && ComDeviceOf(m_state.link, m_state.link.LinkKind) == m_device;
    if (m_state.transcript.AutoReconnect == 0 || !sameDevice) {
        return;
    }
    // Nothing to open yet: no row, no message, until the device is back.
    if (::access(m_device.c_str(), F_OK) != 0) {
        return;
    }
    m_panel.OnConnection();
    const ConnectionState& connection = m_state.records.connection;
    if (connection.CameraConnected != 0 && connection.CameraIdentified == 1 &&
        m_state.transcript.ReapplyAfterReconnect != 0 && m_state.records.PanelApplied == 1) {
        m_panel.OnRefresh();
    }
    m_changed();
}

} // namespace vistrel
