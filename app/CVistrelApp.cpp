#include "app/CVistrelApp.h"

#include "app/CAboutDialog.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/PanelCommands.h"
#include "app/TranscriptModel.h"
#include "app/TranscriptWindow.h"
#include "app/link/HalvexHostHooks.h"
#include "app/link/LinkWatch.h"
#include "app/link/ResponsiveLink.h"
#include "app/panel/CCommView.h"
#include "link/CameraLinkLibrary.h"
#include "link/ObservedLink.h"
#include "link/SystemLink.h"
#include "panel/CommPanel.h"
#include "settings/LastUseSection.h"

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

    // Before any link call: the library's beep and busy cursor may come from the exchange thread.
    m_hostHooks = std::make_unique<HalvexHostHooks>(m_prompts);
    m_hostHooks->install();

    m_document = std::make_unique<CCommDoc>();
    m_document->OnNewDocument();
    m_frame = std::make_unique<CMainFrame>(m_state, m_prompts);
    m_frame->setCameraLinkRelease([this](LinkState&) { m_releaseCameraLinkAtEnd = true; });
    for (const int command : {kCmdAboutBox, kCmdAppAbout}) {
        QObject::connect(m_frame->action(command), &QAction::triggered, m_frame.get(), [this] { ShowAbout(); });
    }
    m_prompts.setOwner(m_frame.get());

    createPanel();
    // After the user has chosen to quit, a running load or apply stops at its next step and sends
    // nothing more, and nothing may ask or tell anything: the process must end.
    m_frame->setQuitConfirmed([this] {
        m_responsiveLink->refuseFromNowOn();
        m_frame->view()->stopSequences();
        m_prompts.silence();
    });
    m_frame->show();

    announceDebugMode(m_input.arguments, m_state, m_prompts);
    return true;
}

void CVistrelApp::ShowAbout() {
    CAboutDialog dialog(systemQueries(), m_frame.get());
    dialog.exec();
}

void CVistrelApp::createPanel() {
    m_systemLink = std::make_unique<SystemLink>(m_state.link);
    m_responsiveLink = std::make_unique<ResponsiveLink>(*m_systemLink);
    m_link = std::make_unique<ObservedLink>(*m_responsiveLink, m_state.link);
    m_transcript = std::make_unique<TranscriptModel>();
    m_link->addObserver(*m_transcript);
    CCommView* view = m_frame->view();
    m_panel = std::make_unique<CommPanel>(m_state.values, m_state.panel, m_state.link, m_state.records, *m_link, *view,
                                          m_prompts);
    m_panel->setPanelStateLoader(
        [this](PanelState& panel) { LoadPanelState(settingsReadPath(m_state.values), panel); });
    view->setPanel(m_panel.get());
    m_frame->addUpdateHandler(InstallPanelCommands(*m_frame, *m_panel, m_state.records, *m_document, m_prompts));

    m_watch = std::make_unique<LinkWatch>(*m_panel, *m_link, m_state, [this] { m_frame->runUpdateHandlers(); });
    m_link->addObserver(*m_watch);
    QObject::connect(m_frame->action(kCmdTranscript), &QAction::triggered, m_frame.get(), [this] { ShowTranscript(); });
    // The two choices after a lost link, kept in the settings like a link change.
    const auto choice = [this](int commandId, int& value) {
        QAction* action = m_frame->action(commandId);
        action->setChecked(value != 0);
        QObject::connect(action, &QAction::toggled, m_frame.get(), [this, &value](bool on) {
            value = on ? 1 : 0;
            m_state.link.SettingsChanged = 1;
        });
    };
    choice(kCmdAutoReconnect, m_state.transcript.AutoReconnect);
    choice(kCmdReapplyAfterReconnect, m_state.transcript.ReapplyAfterReconnect);
}

TranscriptWindow* CVistrelApp::ShowTranscript() {
    if (m_transcriptWindow == nullptr) {
        m_transcriptWindow = new TranscriptWindow(*m_transcript, m_state.transcript, m_prompts, m_frame.get());
    }
    m_transcriptWindow->show();
    m_transcriptWindow->raise();
    m_transcriptWindow->activateWindow();
    return m_transcriptWindow;
}

int CVistrelApp::ExitInstance(int loopResult) {
    m_prompts.setOwner(nullptr);
    if (m_frame) {
        m_frame->view()->setPanel(nullptr);
    }
    m_watch.reset();
    m_panel.reset();
    m_transcriptWindow = nullptr;
    m_frame.reset();
    m_document.reset();
    if (m_systemLink) {
        EndRun(*m_systemLink, m_state.link, m_releaseCameraLinkAtEnd ? m_input.releaseCameraLink : CameraLinkRelease());
    }
    return loopResult;
}

} // namespace vistrel
