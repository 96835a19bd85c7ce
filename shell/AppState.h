#pragma once

#include "link/LinkState.h"
#include "panel/PanelRecords.h"
#include "platform/RunValues.h"
#include "settings/PanelState.h"
#include "settings/TranscriptSettings.h"

namespace vistrel {

// The program-wide records of one run, owned by the application and handed by reference.
struct AppState {
    RunValues values;
    LinkState link;
    PanelState panel;
    // The loaded description, the connection flags and the texts of status bar panes 0 and 1.
    PanelRecords records;
    // The transcript window's place and what the program does after a lost link.
    TranscriptSettings transcript;
};

} // namespace vistrel
