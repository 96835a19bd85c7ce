#include "app/PanelCommands.h"
#include "app/CCommDoc.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/CutTextToolTip.h"
#include "app/panel/CCameraConfigDialog.h"
#include "app/panel/CCommView.h"
#include "app/panel/CCompareSettingsDialog.h"
#include "panel/CommPanel.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "tests/panel/PanelDoubles.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace vistrel {
namespace {

using test::ScriptedLink;
using test::ScriptedPrompts;

std::string sampleCamFile(const std::string& name) {
    std::ifstream in(std::string(VISTREL_CAMFILES_DIR) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The program's frame with the panel logic behind its view and its commands routed.
struct PanelProgram {
    PanelProgram() {
        view = frame.view();
        view->setPanel(&panel);
        frame.addUpdateHandler(InstallPanelCommands(frame, panel, state.records, document, prompts));
    }
    ~PanelProgram() { view->setPanel(nullptr); }

    AppState state;
    ScriptedPrompts prompts;
    ScriptedLink link;
    CMainFrame frame{state, prompts};
    CCommDoc document;
    CCommView* view = nullptr;
    CommPanel panel{state.values, state.panel, state.link, state.records, link, *frame.view(), prompts};
};

struct CommandState {
    bool enabled;
    bool checked;
    bool operator==(const CommandState&) const = default;
};

CommandState stateOf(const CMainFrame& frame, int id) {
    const QAction* action = frame.action(id);
    return {action->isEnabled(), action->isChecked()};
}

// Counts the camera configuration dialogs that open, and closes each with `button` (1 OK, 2 Cancel).
class DialogWatch : public QObject {
public:
    explicit DialogWatch(int button) : m_button(button) {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto* dialog = qobject_cast<CCameraConfigDialog*>(QApplication::activeModalWidget());
            if (dialog != nullptr && dialog->isVisible()) {
                ++opened;
                dialog->findChild<QPushButton*>(QString::number(m_button))->click();
            }
        });
        m_timer.start();
    }
    int opened = 0;

private:
    int m_button;
    QTimer m_timer;
};

TEST(PanelCommands, UpdateRulesGovernTheCommandsAndThePanes) {
    PanelProgram program;
    CMainFrame& frame = program.frame;
    frame.show();
    QApplication::processEvents();

    EXPECT_EQ(stateOf(frame, kCmdConnection), (CommandState{true, false}));
    EXPECT_EQ(stateOf(frame, kCmdDisconnection), (CommandState{true, true}));
    EXPECT_EQ(stateOf(frame, kCmdCameraConfiguration), (CommandState{false, false}));
    EXPECT_EQ(stateOf(frame, kCmdRefresh), (CommandState{false, false}));
    EXPECT_EQ(stateOf(frame, kCmdFileOpen), (CommandState{false, false}));

    // Not connected: Ctrl+O opens nothing.
    DialogWatch cancel(2);
    QTest::keyClick(&frame, Qt::Key_O, Qt::ControlModifier);
    QTest::qWait(30);
    EXPECT_EQ(cancel.opened, 0);

    program.link.answerReply("CAM-L1 OK\r>OK\r");
    frame.action(kCmdConnection)->trigger();
    EXPECT_EQ(program.link.opens, 1);
    EXPECT_EQ(frame.pane(0)->text(), QStringLiteral("CAM-L1 OK connected"));
    EXPECT_EQ(frame.pane(1)->text(), QStringLiteral("Connexion on COM1"));
    EXPECT_EQ(stateOf(frame, kCmdConnection), (CommandState{true, true}));
    EXPECT_EQ(stateOf(frame, kCmdDisconnection), (CommandState{true, false}));
    EXPECT_EQ(stateOf(frame, kCmdCameraConfiguration), (CommandState{true, false}));
    EXPECT_EQ(stateOf(frame, kCmdFileOpen), (CommandState{true, false}));
    EXPECT_EQ(stateOf(frame, kCmdRefresh), (CommandState{false, false})); // nothing applied yet

    // Connected: Ctrl+O and the toolbar command open the dialog.
    QTest::keyClick(&frame, Qt::Key_O, Qt::ControlModifier);
    QTest::qWait(30);
    EXPECT_EQ(cancel.opened, 1);
    frame.action(kCmdCameraConfiguration)->trigger();
    EXPECT_EQ(cancel.opened, 2);

    // A command the rule disables is not run, even while its action still shows enabled.
    program.state.records.SequenceRunning = true;
    frame.action(kCmdFileOpen)->trigger();
    EXPECT_EQ(cancel.opened, 2);
    program.state.records.SequenceRunning = false;

    frame.action(kCmdDisconnection)->trigger();
    EXPECT_EQ(program.link.closes, 1);
    EXPECT_EQ(frame.pane(1)->text(), QStringLiteral("NO Connexion"));
    EXPECT_EQ(stateOf(frame, kCmdConnection), (CommandState{true, false}));
    EXPECT_EQ(stateOf(frame, kCmdDisconnection), (CommandState{true, true}));
    EXPECT_EQ(stateOf(frame, kCmdCameraConfiguration), (CommandState{false, false}));
    EXPECT_EQ(stateOf(frame, kCmdFileOpen), (CommandState{false, false}));
}

TEST(PanelCommands, AFailedConnectionSaysWhyInAMessageAndInPaneZerosTooltip) {
    PanelProgram program;
    CMainFrame& frame = program.frame;
    frame.show();
    QApplication::processEvents();
    const std::string reason = "permission denied on /dev/ttyUSB0: the device belongs to the group dialout, and "
                               "this user is not in it; run \"sudo adduser $USER dialout\", then log out and log in "
                               "again";
    program.link.openResults.push_back({0, "Error On Opening Communication", "", false, reason});
    program.link.openResults.push_back({0, "Error : no camera ?", ""});

    frame.action(kCmdConnection)->trigger();
    EXPECT_EQ(frame.pane(0)->text(), QStringLiteral("Error On Opening Communication")); // the link's own text
    ASSERT_EQ(program.prompts.texts().size(), 1u);
    EXPECT_EQ(program.prompts.texts()[0], "Error On Opening Communication\n\nP" + reason.substr(1) + ".");
    EXPECT_EQ(CutTextToolTip::toolTipOf(frame.pane(0)),
              QStringLiteral("Error On Opening Communication\n") + QString::fromStdString(reason));

    // A failure whose reason is not known says nothing more, and leaves no old reason behind.
    frame.action(kCmdConnection)->trigger();
    EXPECT_EQ(program.prompts.texts().size(), 1u);
    EXPECT_EQ(CutTextToolTip::toolTipOf(frame.pane(0)), QString());
    EXPECT_EQ(stateOf(frame, kCmdConnection), (CommandState{true, false}));
}

TEST(PanelCommands, CameraConfigurationBuildsThePanelAndUserChangesReachTheCamera) {
    test::TempDir folder;
    folder.write("CamFiles/linescan.cam", sampleCamFile("linescan.cam"));
    PanelProgram program;
    program.state.values.AppDirectory = folder.path();
    program.state.values.SettingsPath = folder.path() + "vistrel.INI";
    program.state.values.CamFileName = "LINESCAN.cam";
    CMainFrame& frame = program.frame;
    frame.show();
    QApplication::processEvents();

    program.link.answerReply(">nothing to say\r"); // identification without "OK": INI settings proposed
    frame.action(kCmdConnection)->trigger();
    DialogWatch ok(1);
    frame.action(kCmdFileOpen)->trigger();
    ASSERT_EQ(ok.opened, 1);

    CCommView* view = program.view;
    EXPECT_EQ(view->findChild<QGroupBox*>(QStringLiteral("1000"))->title(), QStringLiteral("Analog gain"));
    auto* gain = view->findChild<QComboBox*>(QStringLiteral("1029"));
    EXPECT_TRUE(gain->isEnabled());
    EXPECT_EQ(gain->itemText(2), QStringLiteral("2 dB"));
    EXPECT_EQ(gain->currentIndex(), 0); // the saved index of a missing settings file
    ASSERT_GE(program.link.commands.size(), 3U);
    EXPECT_EQ(program.link.commands[1], "G=0");
    EXPECT_TRUE(view->findChild<QComboBox*>(QStringLiteral("1020"))->isEnabled());
    EXPECT_EQ(program.document.GetTitle(), " linescan.cam  loaded");
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("  Vistrel 32bit"));
    EXPECT_EQ(stateOf(frame, kCmdRefresh), (CommandState{true, false}));

    // The user steps to "1 dB", accepted, then to "2 dB", which the camera refuses: the list shows
    // the accepted value again.
    const std::size_t sent = program.link.commands.size();
    gain->setFocus();
    QTest::keyClick(gain, Qt::Key_Down);
    program.link.answerReply(">2\r");
    QTest::keyClick(gain, Qt::Key_Down);
    ASSERT_EQ(program.link.commands.size(), sent + 2);
    EXPECT_EQ(program.link.commands[sent], "G=1");
    EXPECT_EQ(program.link.commands[sent + 1], "G=2");
    EXPECT_EQ(view->findChild<QLabel*>(QStringLiteral("1014"))->text(), QStringLiteral("Value out of range"));
    EXPECT_EQ(gain->currentIndex(), 1);
    EXPECT_EQ(program.state.panel.ComboBox[0], 2);
    frame.runUpdateHandlers();
    EXPECT_EQ(frame.pane(1)->text(), QStringLiteral("G=2"));
}

TEST(PanelCommands, CompareWithCameraMarksWhatDiffersAndSendPanelComparesAgain) {
    test::TempDir folder;
    folder.write("CamFiles/linescan.cam", sampleCamFile("linescan.cam"));
    PanelProgram program;
    program.state.values.AppDirectory = folder.path();
    program.state.values.CamFileName = "linescan.cam";
    CMainFrame& frame = program.frame;
    const QList<QAction*> file = frame.menuBar()->actions().first()->menu()->actions();
    ASSERT_GE(file.size(), 4);
    EXPECT_EQ(file[1]->text(), QStringLiteral("Save camera settings as..."));
    EXPECT_EQ(file[2]->text(), QStringLiteral("Open camera settings..."));
    EXPECT_EQ(file[3]->text(), QStringLiteral("Compare with camera..."));
    frame.show();
    frame.action(kCmdConnection)->trigger();
    EXPECT_FALSE(frame.action(kCmdCompareWithCamera)->isEnabled()) << "no description loaded";
    DialogWatch ok(1);
    frame.action(kCmdFileOpen)->trigger();
    frame.runUpdateHandlers();
    ASSERT_TRUE(frame.action(kCmdCompareWithCamera)->isEnabled());

    program.link.answerReply("G=0\rP=99\r>OK\r");
    int rows = 0;
    QStringList marked;
    QTimer::singleShot(50, [&] {
        auto* dialog = qobject_cast<CCompareSettingsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        rows = dialog->table()->rowCount();
        marked << dialog->table()->item(0, 0)->text() << dialog->table()->item(1, 0)->text();
        const std::size_t sent = program.link.commands.size();
        dialog->findChild<QPushButton*>(QStringLiteral("sendPanel"))->click();
        EXPECT_EQ(program.link.commands.size(), sent + 18) << "the 17 controls, then the query";
        EXPECT_EQ(program.link.commands.back(), "CFG?");
        EXPECT_EQ(dialog->table()->item(2, 2)->text(), QStringLiteral("-"));
        dialog->findChild<QPushButton*>(QStringLiteral("close"))->click();
    });
    frame.action(kCmdCompareWithCamera)->trigger();
    EXPECT_EQ(rows, 17);
    EXPECT_EQ(marked, (QStringList{QStringLiteral("Analog gain"), QStringLiteral("\u2260 Pixel clock")}));
}

} // namespace
} // namespace vistrel
