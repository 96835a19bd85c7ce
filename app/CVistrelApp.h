#pragma once

#include "app/AppState.h"
#include "app/CCommDoc.h"
#include "app/Startup.h"
#include "platform/QtPrompts.h"

#include <memory>
#include <string>
#include <vector>

namespace vistrel {

class CMainFrame;

// The application object: owns the run's records, the document and the main frame.
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
    Prompts& prompts() { return m_prompts; }

private:
    StartupInput m_input;
    AppState m_state;
    QtPrompts m_prompts;
    std::unique_ptr<CCommDoc> m_document;
    std::unique_ptr<CMainFrame> m_frame;
    int m_exitCode = 0;
};

} // namespace vistrel
