#pragma once

#include "link/LinkState.h"
#include "link/SystemLink.h"
#include "panel/CommPanel.h"
#include "panel/DataPanelView.h"
#include "panel/PanelRecords.h"
#include "platform/RunValues.h"
#include "settings/PanelState.h"
#include "tools/vistrelctl/CliPrompts.h"
#include "tools/vistrelctl/LinkOptions.h"

namespace vistrel::ctl {

// What the program holds for one job on the command line: the run's settings file as start-up
// takes it up, the link of the options, and the panel logic over a panel without widgets.
class CameraSession {
public:
    CameraSession(const SendOptions& options, const SettingsRead& settings);
    CameraSession(const CameraSession&) = delete;
    CameraSession& operator=(const CameraSession&) = delete;

    // Loads the description of --cam (with --delay over its character delay); false, with a
    // message for `command`, when it cannot be read.
    bool loadDescription(const char* command);
    // Opens the link and identifies the camera as "Connection" does; kLinkExitOk, or the exit code
    // after saying why the link did not open.
    int connect();
    // "Disconnection", and the Camera Link library let go.
    void disconnect();

    const SendOptions& options;
    CliPrompts prompts;
    RunValues values;
    LinkState savedLink; // the settings file's link, kept for a save
    PanelState panel;
    LinkState linkState;
    SystemLink link{linkState};
    DataPanelView view;
    PanelRecords records;
    CommPanel commPanel{values, panel, linkState, records, link, view, prompts};
};

} // namespace vistrel::ctl
