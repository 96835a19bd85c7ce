#include "panel/CommPanel.h"
#include "panel/SettingsReply.h"

namespace vistrel {

namespace {

constexpr const char* kIdentifiedMark = "OK";

std::string connectionPaneTextOf(int linkKind, const std::string& current) {
    switch (linkKind) {
    case kLinkCom1:
        return "Connexion on COM1";
    case kLinkCom2:
        return "Connexion on COM2";
    case kLinkCameraLink:
        return "Connexion on CameraLink";
    default:
        return current;
    }
}

} // namespace

LinkResult CommPanel::exchangeSpecial(const std::string& step, const std::string& command) {
    m_stepUnderWay = {step, false};
    LinkResult exchanged = m_link.exchange(command, m_records.description.CharDelayMs);
    // What arrived is a terminated text: nothing after a NUL counts.
    exchanged.reply = exchanged.reply.substr(0, exchanged.reply.find('\0'));
    if (exchanged.lost) {
        OnLinkLost();
    }
    return exchanged;
}

void CommPanel::OnConnection() {
    ConnectionState& connection = m_records.connection;
    const LinkResult opened = m_link.open();
    connection.StatusPaneText = opened.status;
    connection.StatusPaneReason = opened.reason;
    if (opened.result == 0) {
        // Debug mode lets the panel be worked without a camera.
        if (m_values.DebugMode == 1) {
            connection.CameraConnected = 1;
            connection.CameraDisconnected = 0;
            m_linkState.LinkMenuEnabled = false;
        } else if (connection.CameraConnected != 0) {
            // A failed reopening leaves no channel (Camera Link closes the old one first): the state
            // must say so rather than keep sending into nothing.
            connection.ConnectionPaneText = "NO Connexion";
            connection.CameraConnected = 0;
            connection.CameraDisconnected = 1;
            m_linkState.LinkMenuEnabled = true;
        }
        return;
    }
    connection.ConnectionPaneText = connectionPaneTextOf(m_linkState.LinkKind, connection.ConnectionPaneText);
    connection.CameraConnected = 1;
    connection.CameraDisconnected = 0;
    m_linkState.LinkMenuEnabled = false;

    const std::string reply = exchangeSpecial("identify", m_records.description.identCommand).reply;
    if (connection.CameraConnected == 0) {
        return; // lost while identifying
    }
    if (reply.find(kIdentifiedMark) != std::string::npos) {
        connection.CameraIdentified = 1;
        const std::size_t cr = reply.find('\r');
        connection.CameraIdentification = cr != std::string::npos && cr != 0 ? reply.substr(0, cr) : reply;
        connection.StatusPaneText = connection.CameraIdentification + " connected";
    } else {
        connection.CameraIdentified = 0;
        connection.CameraIdentification.clear();
        connection.StatusPaneText = "Camera connected";
    }
}

void CommPanel::OnDisconnection() {
    ConnectionState& connection = m_records.connection;
    connection.StatusPaneText = m_link.close().status;
    connection.StatusPaneReason.clear();
    connection.ConnectionPaneText = "NO Connexion";
    connection.CameraConnected = 0;
    connection.CameraDisconnected = 1;
    m_linkState.LinkMenuEnabled = true;
}

void CommPanel::OnLinkLost() {
    ConnectionState& connection = m_records.connection;
    connection.StatusPaneText = kTextConnexionLost;
    connection.ConnectionPaneText = "NO Connexion";
    connection.CameraConnected = 0;
    connection.CameraDisconnected = 1;
    m_linkState.LinkMenuEnabled = true;
}

void CommPanel::CheckLink() {
    if (m_records.connection.CameraConnected != 0 && m_link.checkLink().lost) {
        OnLinkLost();
    }
}

void CommPanel::OnRefresh() {
    if (m_records.SequenceRunning) {
        return;
    }
    ApplyPanel();
    if (m_values.DebugMode == 1) {
        m_prompts.tell(kTextRefreshed);
    }
}

int CommPanel::SendFactorySettings() {
    const int result = exchangeSpecial("factory", m_records.description.factoryCommand).result;
    if (result < 0) {
        m_prompts.tell(kTextFactoryError);
    } else if (m_values.DebugMode == 1) {
        m_prompts.tell(kTextFactoryDone);
    }
    return result;
}

LinkResult CommPanel::QueryCameraSettings() {
    const LinkResult exchanged = exchangeSpecial("settings", m_records.description.configCommand);
    if (exchanged.result < 0) {
        m_prompts.tell(kTextSettingsError);
    }
    return exchanged;
}

int CommPanel::ReadCameraSettings() {
    const LinkResult exchanged = QueryCameraSettings();
    if (exchanged.result < 0) {
        return exchanged.result;
    }
    const bool debug = m_values.DebugMode == 1;
    if (debug) {
        m_prompts.tellWithCaption(kTextSettingsCaption, exchanged.reply);
    }
    parseCameraSettings(exchanged.reply, m_records.description, m_panel,
                        [&](const std::string& key, const std::string& value) {
                            if (debug) {
                                m_prompts.tell(key + "=" + value);
                            }
                        });
    return exchanged.result;
}

CommandUpdate CommPanel::OnUpdateConnection() {
    ConnectionState& connection = m_records.connection;
    if (connection.CameraConnected != 0) {
        connection.ConfigCommandEnabled = 1;
        if (m_records.PanelApplied == 1) {
            m_records.RefreshEnabled = 1;
        }
    }
    return {true, connection.CameraConnected != 0};
}

CommandUpdate CommPanel::OnUpdateDisconnection() {
    ConnectionState& connection = m_records.connection;
    if (connection.CameraDisconnected != 0) {
        connection.ConfigCommandEnabled = 0;
        m_records.RefreshEnabled = 0;
    }
    return {true, connection.CameraDisconnected != 0};
}

// While a load or an apply runs, the commands that would start another one wait.
CommandUpdate CommPanel::OnUpdateConfigCommand() const {
    return {m_records.connection.ConfigCommandEnabled != 0 && !m_records.SequenceRunning, false};
}

CommandUpdate CommPanel::OnUpdateRefresh() const {
    return {m_records.RefreshEnabled != 0 && !m_records.SequenceRunning, false};
}

CommandUpdate CommPanel::OnUpdateFileOpen() const {
    return {m_records.connection.CameraConnected == 1 && !m_records.SequenceRunning, false};
}

} // namespace vistrel
