// The program's panel end to end: the frame, its commands and the panel logic over the system link
// run beside the event loop, to the camera simulator on the pseudo-terminal COM1 is mapped to.
#include "app/CCommDoc.h"
#include "app/CMainFrame.h"
#include "app/CVistrelApp.h"
#include "app/CommandIds.h"
#include "app/PanelCommands.h"
#include "app/link/HalvexHostHooks.h"
#include "app/link/ResponsiveLink.h"
#include "app/panel/CCameraConfigDialog.h"
#include "app/panel/CCommView.h"
#include "link/SystemLink.h"
#include "panel/CommPanel.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "tools/camsim/SimServer.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/ioctl.h>
#include <unistd.h>

namespace vistrel {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(ProgramWithCameraSimulator, ConnectConfigureAndChangeAValue) {
    const std::string camPath = std::string(VISTREL_CAMFILES_DIR) + "/linescan.cam";
    camsim::SimCamera camera;
    std::string error;
    ASSERT_TRUE(camsim::LoadSimCamera(camPath, camera, error)) << error;
    const auto server = camsim::SimServer::openPty(camsim::CameraModel(camera), error);
    ASSERT_TRUE(server) << error;
    server->start();

    test::TempDir folder;
    folder.write("CamFiles/linescan.cam", readFile(camPath));
    AppState state;
    state.values.AppDirectory = folder.path();
    state.values.SettingsPath = folder.path() + "vistrel.INI";
    state.values.CamFileName = "linescan.cam";
    state.link.LinkKind = kLinkCom1;
    state.link.LinkBaudRate = 38400;
    state.link.ComDevice[0] = server->devicePath();

    test::ScriptedPrompts prompts;
    HalvexHostHooks hooks(prompts);
    hooks.install();
    SystemLink systemLink(state.link);
    ResponsiveLink link(systemLink);
    CMainFrame frame(state, prompts);
    CCommDoc document;
    CommPanel panel(state.values, state.panel, state.link, state.records, link, *frame.view(), prompts);
    frame.view()->setPanel(&panel);
    frame.addUpdateHandler(InstallPanelCommands(frame, panel, state.records, document, prompts));
    frame.show();
    QApplication::processEvents();

    // A first run: nothing loaded yet, so the camera is not identified and the dialog proposes the
    // saved values, here those of a missing settings file.
    frame.action(kCmdConnection)->trigger();
    EXPECT_EQ(frame.pane(1)->text(), QStringLiteral("Connexion on COM1"));
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QPushButton*>(QStringLiteral("1"))->click();
    });
    frame.action(kCmdCameraConfiguration)->trigger();
    EXPECT_EQ(document.GetTitle(), " linescan.cam  loaded");
    std::vector<std::string> sent = server->lines();
    ASSERT_GE(sent.size(), 2U);
    EXPECT_EQ(sent[1], "G=0");
    EXPECT_EQ(state.records.PanelApplied, 1);
    EXPECT_EQ(frame.view()->findChild<QLabel*>(QStringLiteral("1014"))->text(), QStringLiteral("Command accepted"));
    EXPECT_EQ(prompts.beeps, std::vector<BeepKind>{BeepKind::Exclamation}); // the panel is built

    // Connected again with the description loaded: the camera identifies itself.
    frame.action(kCmdDisconnection)->trigger();
    frame.action(kCmdConnection)->trigger();
    EXPECT_EQ(server->lines().back(), camera.identCommand);
    EXPECT_EQ(state.records.connection.CameraIdentified, 1);
    EXPECT_TRUE(frame.pane(0)->text().endsWith(QStringLiteral(" connected"))) << frame.pane(0)->text().toStdString();

    // "Camera settings", proposed now: every list value the camera reports goes back as it was.
    QTimer::singleShot(
        0, [] { QApplication::activeModalWidget()->findChild<QPushButton*>(QStringLiteral("1"))->click(); });
    frame.action(kCmdCameraConfiguration)->trigger();
    sent = server->lines();
    EXPECT_EQ(std::vector<std::string>(sent.end() - 5, sent.end()),
              (std::vector<std::string>{"E=5", "R=10", "O=0", "H=1.00", "W=0"}));

    // The user picks the next gain: the command reaches the camera and the camera keeps it.
    auto* gain = frame.view()->findChild<QComboBox*>(QStringLiteral("1029"));
    const int before = gain->currentIndex();
    gain->setFocus();
    QTest::keyClick(gain, Qt::Key_Down);
    sent = server->lines();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), "G=" + std::to_string(before + 1));
    EXPECT_EQ(server->valueOf('G'), std::to_string(before + 1));
    EXPECT_EQ(gain->currentIndex(), before + 1);
    EXPECT_EQ(state.panel.ComboBox[0], before + 1);

    frame.action(kCmdDisconnection)->trigger();
    EXPECT_EQ(frame.pane(0)->text(), QStringLiteral("Connexion Closed"));
    EXPECT_EQ(prompts.beeps.size(), 2U); // one for each panel built, none for a refusal
    frame.view()->setPanel(nullptr);
    server->stop();
}

// The user closes the window while the panel is being sent to a slow camera and confirms: the
// apply stops at its next step, nothing more is sent, and the end closes the port.
TEST(ProgramWithCameraSimulator, QuittingDuringAnApplyEndsPromptlyAndFreesThePort) {
    const std::string camPath = std::string(VISTREL_CAMFILES_DIR) + "/linescan.cam";
    camsim::SimCamera camera;
    std::string error;
    ASSERT_TRUE(camsim::LoadSimCamera(camPath, camera, error)) << error;
    const auto server = camsim::SimServer::openPty(camsim::CameraModel(camera), error);
    ASSERT_TRUE(server) << error;
    camsim::FaultKnobs slow;
    slow.answerDelay = std::chrono::milliseconds(300);
    server->setKnobs(slow);
    server->start();
    test::TempDir folder;
    folder.write("CamFiles/linescan.cam", readFile(camPath));
    folder.write("vistrel.INI", "[Common]\nCamera File=linescan.cam\nCOM Port=1\nBaudRate=38400\n"
                                "[Serial Devices]\nCOM1=" +
                                    server->devicePath() + "\n");

    CVistrelApp app({}, folder.path() + "vistrel", folder.path() + "applications");
    ASSERT_TRUE(app.InitInstance());
    app.mainFrame()->action(kCmdConnection)->trigger();

    using Clock = std::chrono::steady_clock;
    std::size_t sentAtConfirmation = 0;
    Clock::time_point confirmed;
    // Answers the boxes as they come: OK in the dialog, Yes to quitting, No to saving.
    QTimer answering;
    QObject::connect(&answering, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            return;
        }
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            const bool quitting = box->text() == QString::fromLatin1(kQuitQuestion);
            sentAtConfirmation = quitting ? server->lines().size() : sentAtConfirmation;
            confirmed = quitting ? Clock::now() : confirmed;
            box->button(quitting ? QMessageBox::Yes : QMessageBox::No)->click();
        } else if (auto* ok = modal->findChild<QPushButton*>(QStringLiteral("1"))) {
            ok->click();
        }
    });
    answering.start(20);
    QTimer::singleShot(1500, app.mainFrame(), [&] { app.mainFrame()->close(); });
    app.mainFrame()->action(kCmdCameraConfiguration)->trigger();
    answering.stop();

    ASSERT_GT(sentAtConfirmation, 2u);
    const std::size_t sent = server->lines().size();
    EXPECT_LE(sent, sentAtConfirmation + 1); // at most the one already on its way
    EXPECT_LT(sent, 18u);
    app.ExitInstance(0);
    EXPECT_LT(Clock::now() - confirmed, std::chrono::seconds(6));
    const int fd = open(server->devicePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    int exclusive = -1;
    EXPECT_EQ(ioctl(fd, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    close(fd);
    server->stop();
}

} // namespace
} // namespace vistrel
