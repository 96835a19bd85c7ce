#include "panel/CamFileList.h"
#include "panel/CommPanel.h"
#include "panel/TextMatch.h"

#include <algorithm>

namespace vistrel {

CameraConfigSetup CommPanel::cameraConfigSetup() const {
    CameraConfigSetup setup;
    setup.names = listCamFiles(m_values);
    setup.editText = m_values.CamFileName;
    if (!setup.names.empty()) {
        // The saved name itself, in its own letter case first, then in any; without a name, or with
        // one not listed, the first entry.
        const std::string& saved = m_values.CamFileName;
        const auto at = [&](auto&& same) {
            const auto it = std::find_if(setup.names.begin(), setup.names.end(),
                                         [&](const std::string& name) { return same(name, saved); });
            return it == setup.names.end() ? -1 : static_cast<int>(it - setup.names.begin());
        };
        int found = at([](const std::string& a, const std::string& b) { return a == b; });
        if (found < 0) {
            found = at(equalsIgnoringCase);
        }
        setup.selected = found < 0 ? 0 : found;
        setup.editText = setup.names[static_cast<std::size_t>(setup.selected)];
    }
    setup.radioEnabled[0] = m_values.SettingsFileFound == 1;
    setup.radioChecked = 0;
    const bool identified = m_records.connection.CameraIdentified == 1;
    setup.radioEnabled[1] = identified;
    setup.radioEnabled[2] = identified;
    if (identified) {
        setup.radioChecked = 1;
    }
    return setup;
}

void CommPanel::OpenCameraConfiguration(CameraConfigDialogRunner& dialog) {
    // Started from a click that a running load or apply let through: that one finishes first.
    if (m_records.SequenceRunning) {
        return;
    }
    const std::optional<CameraConfigAnswer> answer = dialog.run(cameraConfigSetup());
    if (answer) {
        ConfigureCamera(*answer);
    }
}

void CommPanel::ConfigureCamera(const CameraConfigAnswer& answer) {
    m_values.CamFileName = answer.fileName;
    LoadCamFile();
    // The initialisation runs whether or not the file could be read.
    InitialiseAndApply(answer.initChoice);
}

void CommPanel::InitialiseAndApply(InitChoice initChoice) {
    switch (initChoice) {
    case InitChoice::SavedValues:
        if (m_loadPanelState) {
            m_loadPanelState(m_panel);
        }
        ApplyPanel();
        break;
    case InitChoice::CameraSettings:
        ReadCameraSettings();
        ApplyPanel();
        break;
    case InitChoice::FactorySettings:
        SendFactorySettings();
        ReadCameraSettings();
        ApplyPanel();
        break;
    case InitChoice::None:
        break;
    }
}

} // namespace vistrel
