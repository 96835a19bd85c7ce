#include "shell/ExitSequence.h"

namespace vistrel {

std::string saveFailureText(const std::string& settingsPath, const std::string& reason) {
    return "The settings could not be saved to " + settingsPath + ": " + reason + ".\nThe file was left as it was.";
}

ExitOutcome OnClose(const WindowRect& frame, AppState& state, Prompts& prompts, const SettingsSave& save,
                    const CameraLinkRelease& releaseCameraLink) {
    PanelState& panel = state.panel;
    panel.Xpos = frame.left;
    panel.Ypos = frame.top;
    panel.Xdim = frame.right - frame.left;
    panel.Ydim = frame.bottom - frame.top;

    if (prompts.ask(kQuitQuestion, PromptButtons::YesNo) != PromptAnswer::Yes) {
        return ExitOutcome::GoOn;
    }
    ExitOutcome outcome = ExitOutcome::EndWithoutSave;
    if (state.link.SettingsChanged != 0) {
        const PromptAnswer answer = prompts.ask(kSaveQuestion, PromptButtons::YesNoCancel);
        if (answer == PromptAnswer::Cancel) {
            return ExitOutcome::GoOn;
        }
        if (answer == PromptAnswer::Yes) {
            const ProfileResult saved = save(state);
            if (!saved.ok) {
                prompts.tell(saveFailureText(state.values.SettingsPath, saved.reason));
            }
            outcome = ExitOutcome::EndAfterSave;
        }
    }
    if (state.link.LinkKind == kLinkCameraLink && releaseCameraLink) {
        releaseCameraLink(state.link);
    }
    return outcome;
}

void EndRun(Link& link, LinkState& linkState, const CameraLinkRelease& releaseCameraLink) {
    link.close();
    if (releaseCameraLink) {
        releaseCameraLink(linkState);
    }
}

} // namespace vistrel
