#include "app/CVistrelApp.h"

#include "app/CAboutDialog.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "link/CameraLinkLibrary.h"

#include <QAction>
#include <cstdio>

namespace vistrel {

CVistrelApp::CVistrelApp(std::vector<std::string> arguments, std::string executablePath,
                         std::string applicationsFolder) {
    m_input.arguments = std::move(arguments);
    m_input.executablePath = std::move(executablePath);
    m_input.applicationsFolder = std::move(applicationsFolder);
    m_input.userFolders = userFolders();
    m_input.releaseCameraLink = [this](LinkState& link) { ReleaseCameraLinkLibrary(link, m_prompts); };
}

CVistrelApp::~CVistrelApp() = default;

bool CVistrelApp::InitInstance() {
    const StartupResult started = runStartup(m_input, m_state, m_prompts);
    if (started.action == StartupAction::EndProcess) {
        if (!started.problem.empty()) {
            std::fprintf(stderr, "vistrel: %s\n", started.problem.c_str());
        }
        m_exitCode = started.exitCode;
        return false;
    }

    m_document = std::make_unique<CCommDoc>();
    m_document->OnNewDocument();
    m_frame = std::make_unique<CMainFrame>(m_state, m_prompts);
    m_frame->setCameraLinkRelease(m_input.releaseCameraLink);
    for (const int command : {kCmdAboutBox, kCmdAppAbout}) {
        QObject::connect(m_frame->action(command), &QAction::triggered, m_frame.get(), [this] { ShowAbout(); });
    }
    m_prompts.setOwner(m_frame.get());
    m_frame->show();

    announceDebugMode(m_input.arguments, m_state, m_prompts);
    return true;
}

void CVistrelApp::ShowAbout() {
    CAboutDialog dialog(systemQueries(), m_frame.get());
    dialog.exec();
}

int CVistrelApp::ExitInstance(int loopResult) {
    m_prompts.setOwner(nullptr);
    m_frame.reset();
    m_document.reset();
    return loopResult;
}

} // namespace vistrel
