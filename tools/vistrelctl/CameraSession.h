#pragma once

#include "link/LinkState.h"
#include "panel/CommPanel.h"
#include "panel/DataPanelView.h"
#include "panel/PanelRecords.h"
#include "platform/RunValues.h"
#include "settings/PanelState.h"
#include "tools/vistrelctl/CliPrompts.h"
#include "tools/vistrelctl/CtlLink.h"
#include "tools/vistrelctl/LinkOptions.h"

namespace vistrel::ctl {

// The panel without widgets, noting a command the panel refused to send for its length (it never
// reaches the link, so no exchange tells of it).
class SessionPanelView : public DataPanelView {
public:
    void showStatusLine(const std::string& text) override;
    bool refusedCommand = false;
};

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
    // Opens the --transcript file, the link, and identifies the camera as "Connection" does;
    // kLinkExitOk, or the exit code after saying why the link did not open or was lost.
    int connect(const char* command);
    // "Disconnection" (not attempted on a lost line), and the Camera Link library let go.
    void disconnect();
    // The line was lost: nothing more may be attempted on it.
    bool lost() const { return observed.lost(); }
    // After a loss: the library let go, the loss said, and its exit status.
    int endLost();

    const SendOptions& options;
    CliPrompts prompts;
    RunValues values;
    LinkState savedLink; // the settings file's link, kept for a save
    PanelState panel;
    LinkState linkState;
    CtlLink observed{linkState};
    SessionPanelView view;
    PanelRecords records;
    CommPanel commPanel{values, panel, linkState, records, observed.link(), view, prompts};
};

} // namespace vistrel::ctl
