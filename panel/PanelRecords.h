#pragma once

#include "camera/CameraDescription.h"

#include <string>

namespace vistrel {

// Connection flags and the two status bar texts. One per run, owned by the application.
struct ConnectionState {
    int CameraConnected = 0;
    int CameraDisconnected = 1;
    int CameraIdentified = 0;
    // The camera's answer to the identification as pane 0 shows it before " connected"; empty
    // when it was not identified.
    std::string CameraIdentification;
    int ConfigCommandEnabled = 1;
    std::string StatusPaneText = "Connexion closed"; // status bar pane 0
    std::string ConnectionPaneText = "-";            // status bar pane 1
    // Why the last connection failed and what to do, for a tooltip on pane 0 and a message (empty
    // when the link opened, or the reason is not known).
    std::string StatusPaneReason;
};

// What the panel holds besides its widgets: the loaded description, the document title and the
// panel flags. One per run, owned by the application.
struct PanelRecords {
    CameraDescription description;
    ConnectionState connection;
    std::string LoadedTitle;
    int PanelApplied = 0;
    int RefreshEnabled = 0;
    // A load or an apply is running: the commands that would start another one are disabled.
    bool SequenceRunning = false;
};

} // namespace vistrel
