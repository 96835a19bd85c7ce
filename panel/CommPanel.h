#pragma once

#include "camera/PanelState.h"
#include "link/Link.h"
#include "link/LinkState.h"
#include "panel/CameraConfigChoice.h"
#include "panel/PanelRecords.h"
#include "panel/PanelView.h"
#include "platform/ProgramValues.h"
#include "platform/Prompts.h"

#include <optional>
#include <string>

namespace vistrel {

// State of one command of the menu or toolbar after its update rule ran.
struct CommandUpdate {
    bool enabled = false;
    bool checked = false;
};

// The panel's logic: loading a description, every control's command, the panel apply, connection,
// the special commands and the camera configuration. It decides everything and reaches the widgets
// only through PanelView, the camera only through Link.
class CommPanel {
public:
    CommPanel(ProgramValues& values, PanelState& panel, LinkState& linkState, PanelRecords& records, Link& link,
              PanelView& view, Prompts& prompts);

    // Loading and commands.
    void LoadCamFile();
    int SendCameraCommand(char commandChar, const std::string& valueText);
    void OnComboChanged(int index); // 0 for "ComboBox1"
    void OnCheckClicked(int index); // 0 for "Check1"
    void OnApplyList(int index);    // 0 for "ListBox1"
    void OnSendFreeText();
    void ApplyPanel();

    // Connection and the special commands.
    void OnConnection();
    void OnDisconnection();
    void OnRefresh();
    void SendFactorySettings();
    void ReadCameraSettings();

    // The camera configuration dialog and what its OK starts.
    CameraConfigSetup cameraConfigSetup() const;
    void OpenCameraConfiguration(CameraConfigDialogRunner& dialog);

    // Update rules of commands 1020, 1021, 32775, 103 and 57601 with their side effects.
    CommandUpdate OnUpdateConnection();
    CommandUpdate OnUpdateDisconnection();
    CommandUpdate OnUpdateConfigCommand();
    CommandUpdate OnUpdateRefresh();
    CommandUpdate OnUpdateFileOpen();
};

} // namespace vistrel
