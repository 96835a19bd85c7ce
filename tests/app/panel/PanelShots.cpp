// Renders the panel and the camera configuration dialog into PNG files for the documentation:
//   panel_shots CAMFILES_FOLDER OUTPUT_FOLDER   (run under xvfb-run for the real window look)
// The camera is a scripted one: it identifies itself, accepts every value, then refuses one.
#include "app/CCommDoc.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/PanelCommands.h"
#include "app/panel/CCameraConfigDialog.h"
#include "app/panel/CCommView.h"
#include "panel/CommPanel.h"
#include "shell/AppState.h"
#include "support/ScriptedPrompts.h"
#include "tests/panel/PanelDoubles.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

namespace {

void settle() {
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(vistrel);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s CAMFILES_FOLDER OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[2]) + "/";
    QDir camFiles(QString::fromLocal8Bit(argv[1]));
    camFiles.cdUp();

    vistrel::AppState state;
    state.values.AppDirectory = camFiles.absolutePath().toStdString() + "/";
    state.values.SettingsPath = "/nonexistent/vistrel.INI";
    state.values.CamFileName = "linescan.cam";
    vistrel::test::ScriptedPrompts prompts;
    vistrel::test::ScriptedLink link;
    vistrel::CMainFrame frame(state, prompts);
    vistrel::CCommDoc document;
    vistrel::CommPanel panel(state.values, state.panel, state.link, state.records, link, *frame.view(), prompts);
    frame.view()->setPanel(&panel);
    frame.addUpdateHandler(vistrel::InstallPanelCommands(frame, panel, state.records, document, prompts));
    frame.show();
    settle();
    bool saved = frame.grab().save(output + "panel-empty.png");

    link.answerReply("LS-4K rev 2 OK\r>OK\r");
    frame.action(vistrel::kCmdConnection)->trigger();
    vistrel::CCameraConfigDialog dialog(prompts, &frame);
    dialog.OnInitDialog(panel.cameraConfigSetup());
    dialog.show();
    settle();
    saved = dialog.grab().save(output + "CameraConfigDialog.png") && saved;
    dialog.hide();

    // OK in the dialog as the user would: "INI file settings" from a missing file, all zeros.
    vistrel::CameraConfigAnswer answer;
    answer.fileName = "linescan.cam";
    answer.initChoice = vistrel::InitChoice::SavedValues;
    panel.ConfigureCamera(answer);
    frame.runUpdateHandlers();
    settle();
    saved = frame.grab().save(output + "panel-linescan.png") && saved;

    link.answerReply(">2\r");
    auto* gain = frame.view()->findChild<QComboBox*>(QStringLiteral("1029"));
    gain->setCurrentIndex(5);
    emit gain->activated(5);
    frame.runUpdateHandlers();
    settle();
    saved = frame.grab().save(output + "panel-refused.png") && saved;
    frame.view()->setPanel(nullptr);
    return saved ? 0 : 1;
}
