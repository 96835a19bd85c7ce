#pragma once

#include "app/CCommDoc.h"
#include "app/platform/QtPrompts.h"
#include "shell/AppState.h"
#include "shell/Startup.h"

#include <memory>
#include <string>
#include <vector>

namespace vistrel {

class CMainFrame;
class CommPanel;
class HalvexHostHooks;
class LinkWatch;
class ObservedLink;
class ResponsiveLink;
class SystemLink;
class TranscriptModel;
class TranscriptWindow;

// The application object: owns the run's records, the document, the main frame, the link and the
// panel logic.
class CVistrelApp {
public:
    CVistrelApp(std::vector<std::string> arguments, std::string executablePath, std::string applicationsFolder);
    ~CVistrelApp();
    CVistrelApp(const CVistrelApp&) = delete;
    CVistrelApp& operator=(const CVistrelApp&) = delete;

    // Start-up. False: the process is to end at once, without a window, with exitCode().
    bool InitInstance();
    // After the message loop; returns the process exit code.
    int ExitInstance(int loopResult);

    // Commands 57664 and 57670: the About box, modal over the main frame.
    void ShowAbout();

    int exitCode() const { return m_exitCode; }
    AppState& state() { return m_state; }
    CMainFrame* mainFrame() const { return m_frame.get(); }
    CommPanel* panel() const { return m_panel.get(); }
    TranscriptModel* transcript() const { return m_transcript.get(); }
    LinkWatch* linkWatch() const { return m_watch.get(); }
    // Command 32792: the transcript window, made on first use, shown and raised.
    TranscriptWindow* ShowTranscript();
    CCommDoc* document() const { return m_document.get(); }
    Prompts& prompts() { return m_prompts; }

private:
    // The link, the panel logic over the frame's view, and the panel's commands.
    void createPanel();

    StartupInput m_input;
    AppState m_state;
    QtPrompts m_prompts;
    std::unique_ptr<CCommDoc> m_document;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<HalvexHostHooks> m_hostHooks;
    // Every operation of the link is heard by the transcript; the link watch checks it while idle.
    std::unique_ptr<TranscriptModel> m_transcript;
    // The link in use, run beside the event loop so that the window never freezes, and observed.
    std::unique_ptr<SystemLink> m_systemLink;
    std::unique_ptr<ResponsiveLink> m_responsiveLink;
    std::unique_ptr<ObservedLink> m_link;
    std::unique_ptr<CommPanel> m_panel; // works on the frame's view: goes before the frame
    std::unique_ptr<LinkWatch> m_watch;
    TranscriptWindow* m_transcriptWindow = nullptr; // owned by the frame
    int m_exitCode = 0;
    // The exit sequence released Camera Link: done at the end, when no exchange can still use it.
    bool m_releaseCameraLinkAtEnd = false;
};

} // namespace vistrel
