#pragma once

#include "camera/PanelState.h"
#include "link/LinkState.h"
#include "platform/ProgramValues.h"

#include <string>

namespace vistrel {

// The program-wide records of one run, owned by the application and handed by reference.
struct AppState {
    ProgramValues values;
    LinkState link;
    PanelState panel;

    // Texts of status bar panes 0 and 1, kept in step by the idle-time updates.
    std::string StatusPaneText = "Connexion closed";
    std::string ConnectionPaneText = "-";
};

} // namespace vistrel
