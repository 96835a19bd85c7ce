// Camera settings files: saving what the panel shows, opening a file onto the panel, and comparing
// the panel with the camera.
#include "camera/CamFileLoader.h"
#include "link/LinkWords.h"
#include "panel/CommPanel.h"
#include "panel/PanelControls.h"
#include "platform/FileLocations.h"
#include "settings/CameraSettingsFile.h"
#include "settings/ListValue.h"

namespace vistrel {

PanelState CommPanel::panelStateShown() const {
    PanelState shown = m_panel;
    const CameraDescription& description = m_records.description;
    for (std::size_t i = 0; i < kComboIds.size(); ++i) {
        if (!description.combos[i].character.empty()) {
            shown.ComboBox[i] = m_view.selection(kComboIds[i]);
        }
    }
    for (std::size_t i = 0; i < kCheckIds.size(); ++i) {
        if (!description.checks[i].character.empty()) {
            shown.Check[i] = m_view.checked(kCheckIds[i]) ? 1 : 0;
        }
    }
    for (std::size_t i = 0; i < kListIds.size(); ++i) {
        if (!description.lists[i].character.empty()) {
            shown.ListBox[i] = listStateText(m_view.editText(kListIds[i])).value_or(std::string());
        }
    }
    return shown;
}

ProfileResult CommPanel::SaveCameraSettingsFile(const std::string& path, const PanelState& values, std::time_t when) {
    CameraSettings settings;
    settings.Description = m_values.CamFileName;
    settings.Identification = m_records.connection.CameraIdentification;
    if (m_records.connection.CameraConnected == 1) {
        settings.Device = linkInStableWords(m_linkState);
    }
    settings.panel = values;
    return saveCameraSettings(path, settings, when);
}

bool CommPanel::OpenCameraSettingsFile(const std::string& path) {
    if (m_records.SequenceRunning) {
        return false;
    }
    std::string error;
    const std::optional<CameraSettings> file = readCameraSettings(path, error);
    if (!file) {
        m_prompts.tell(error);
        return false;
    }
    if (file->Description.empty() && !descriptionLoaded()) {
        m_prompts.tell(path + " names no camera description");
        return false;
    }
    const std::string& identification = m_records.connection.CameraIdentification;
    if (!settingsFitCamera(*file, identification) &&
        m_prompts.ask(otherCameraText(*file, identification) + ".\nSend them all the same ?", PromptButtons::YesNo) !=
            PromptAnswer::Yes) {
        return false;
    }
    if (!file->Description.empty() && (!descriptionLoaded() || file->Description != m_values.CamFileName)) {
        // Checked before anything is loaded, so that a missing description changes nothing.
        if (!CamFileKeys::open(resolveCamFilePath(m_values, file->Description))) {
            m_prompts.tell("The camera description " + file->Description + " named in " + path +
                           " cannot be found in CamFiles");
            return false;
        }
        m_values.CamFileName = file->Description;
        LoadCamFile();
    }
    m_panel.ComboBox = file->panel.ComboBox;
    m_panel.Check = file->panel.Check;
    m_panel.ListBox = file->panel.ListBox;
    ApplyPanel();
    return true;
}

std::optional<SettingsComparison> CommPanel::CompareWithCamera() {
    std::optional<SettingsComparison> comparison = previewPanelApply(m_values.CamFilePath, m_panel);
    if (!comparison) {
        m_prompts.tell("The camera description " + m_values.CamFilePath + " cannot be read");
        return std::nullopt;
    }
    const LinkResult report = QueryCameraSettings();
    if (report.result < 0) {
        return std::nullopt;
    }
    compareWithReport(*comparison, report.reply);
    return comparison;
}

std::string CommPanel::cameraSettingsFolder() const {
    // A portable copy keeps the user's files beside the program.
    return m_values.UserCamFilesDirectory.empty() ? m_values.AppDirectory + "CamFiles/"
                                                  : m_values.UserCamFilesDirectory;
}

CommandUpdate CommPanel::OnUpdateSaveCameraSettings() const {
    return {descriptionLoaded() && !m_records.SequenceRunning, false};
}

CommandUpdate CommPanel::OnUpdateCompareWithCamera() const {
    return {m_records.connection.CameraConnected == 1 && descriptionLoaded() && !m_records.SequenceRunning, false};
}

} // namespace vistrel
