#pragma once

#include "link/Link.h"
#include "link/LinkState.h"
#include "panel/CameraConfigChoice.h"
#include "panel/PanelRecords.h"
#include "panel/PanelView.h"
#include "panel/SettingsCompare.h"
#include "platform/Profile.h"
#include "platform/Prompts.h"
#include "platform/RunValues.h"
#include "settings/PanelState.h"

#include <array>
#include <ctime>
#include <functional>
#include <optional>
#include <string>

namespace vistrel {

// State of one command of the menu or toolbar after its update rule ran.
struct CommandUpdate {
    bool enabled = false;
    bool checked = false;
};

inline constexpr const char* kTextCommandTooLong = "Error Command Too Long";
inline constexpr const char* kTextTooManyCharacters = "Please enter no more than 10 characters.";
inline constexpr const char* kTextFactoryError = "Error : Factory settings";
inline constexpr const char* kTextFactoryDone = "Factory settings actived";
inline constexpr const char* kTextSettingsError = "Error : Camera settings";
inline constexpr const char* kTextSettingsCaption = "Camera settings";
inline constexpr const char* kTextRefreshed = "Camera setting refreshed";

// The command a panel control sends: "%c=%s", or the value alone for the character '-'; and the
// value back out of such a command.
std::string panelCommand(char commandChar, const std::string& valueText);
std::string valueOfPanelCommand(char commandChar, const std::string& command);

// The panel's logic: loading a description, every control's command, the panel apply, connection,
// the special commands and the camera configuration. It decides everything and reaches the widgets
// only through PanelView, the camera only through Link.
class CommPanel {
public:
    CommPanel(RunValues& values, PanelState& panel, LinkState& linkState, PanelRecords& records, Link& link,
              PanelView& view, Prompts& prompts);

    // Reads the saved control values ("INI file settings" of the camera configuration).
    void setPanelStateLoader(std::function<void(PanelState&)> loader) { m_loadPanelState = std::move(loader); }

    // Loading and commands.
    void LoadCamFile();
    // Loads the description at any path, as LoadCamFile loads the one named by CamFileName.
    void LoadCamFileAt(const std::string& camFilePath);
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
    // The link's result of the factory command, and of the settings query.
    int SendFactorySettings();
    int ReadCameraSettings();
    // The settings query alone: the camera's report, the panel state untouched ("Error : Camera
    // settings" when the link failed, result below 0).
    LinkResult QueryCameraSettings();

    // Camera settings files. A description is loaded when the last load could read its file.
    bool descriptionLoaded() const { return m_records.LoadedTitle.size() > 1; }
    // The control values as the widgets show them.
    PanelState panelStateShown() const;
    // Writes `values` (the program: what the panel shows) with the description, the camera and
    // the link to `path`.
    ProfileResult SaveCameraSettingsFile(const std::string& path, const PanelState& values, std::time_t when);
    // Reads `path`, loads the description it names when that is not the loaded one, then puts its
    // values on the panel and sends them as "INI file settings" does. False, with a message and
    // nothing changed, when the file or its description cannot be read or the user declines values
    // taken from another camera.
    bool OpenCameraSettingsFile(const std::string& path);
    // The panel state as the panel sends it beside the camera's report; nothing when the
    // description cannot be read again or the settings query failed (its message shown).
    std::optional<SettingsComparison> CompareWithCamera();
    // Where the file dialogs for camera settings files start: the user's CamFiles folder.
    std::string cameraSettingsFolder() const;
    CommandUpdate OnUpdateSaveCameraSettings() const;
    CommandUpdate OnUpdateCompareWithCamera() const;

    // The camera configuration dialog and what its OK starts.
    CameraConfigSetup cameraConfigSetup() const;
    void OpenCameraConfiguration(CameraConfigDialogRunner& dialog);
    // What OK in the dialog starts: load `fileName`, then the initialisation `initChoice`.
    void ConfigureCamera(const CameraConfigAnswer& answer);
    // The initialisation `initChoice` of the loaded panel (the saved values, the camera's settings,
    // or its factory settings), then the panel apply; nothing for none.
    void InitialiseAndApply(InitChoice initChoice);

    // Update rules of commands 1020, 1021, 32775, 103 and 57601 with their side effects.
    CommandUpdate OnUpdateConnection();
    CommandUpdate OnUpdateDisconnection();
    CommandUpdate OnUpdateConfigCommand() const;
    CommandUpdate OnUpdateRefresh() const;
    CommandUpdate OnUpdateFileOpen() const;

    // The link was lost (seen by an exchange or a check): the state of a disconnection, with
    // "Connexion lost" in pane 0; the link closed itself, so nothing is sent to close it.
    void OnLinkLost();
    // While connected, asks the link whether it is still there, and takes a loss as OnLinkLost.
    void CheckLink();

    // The step of the exchange under way, or of the last one: the control's section name
    // ("ComboBox1"), "free", or a special command ("identify", "settings", "factory");
    // panelCommand for those that go through SendCameraCommand.
    struct ExchangeStep {
        std::string name;
        bool panelCommand = false;
    };
    const ExchangeStep& stepUnderWay() const { return m_stepUnderWay; }

private:
    void loadDescription(const std::string& camFilePath);
    // Reads every widget into the exchanged values; a list text too long for its field is left out
    // and marked in m_listTooLong.
    void readControls();
    // Writes the exchanged values into the widgets.
    void writeControls();
    // A pump step of a long sequence; true when Escape ended it.
    bool pumpReportsEscape();
    // A sequence stops when the link went away under it.
    bool linkGone() const { return m_records.connection.CameraConnected == 0; }
    LinkResult exchangeSpecial(const std::string& step, const std::string& command);

    RunValues& m_values;
    PanelState& m_panel;
    LinkState& m_linkState;
    PanelRecords& m_records;
    Link& m_link;
    PanelView& m_view;
    Prompts& m_prompts;
    std::function<void(PanelState&)> m_loadPanelState;
    std::string m_currentStep;
    ExchangeStep m_stepUnderWay;

    std::array<int, kCheckCount> m_CheckState{};
    std::array<std::string, kListCount> m_ListText;
    std::array<bool, kListCount> m_listTooLong{};
    std::array<int, kComboCount> m_ComboIndex = {-1, -1, -1, -1, -1, -1, -1, -1};

    // Last value the camera accepted for each control, taken when its handler first runs.
    std::array<std::optional<int>, kComboCount> m_comboAccepted;
    std::array<std::optional<int>, kCheckCount> m_checkAccepted;
    std::array<std::optional<int>, kListCount> m_listAccepted;
};

} // namespace vistrel
