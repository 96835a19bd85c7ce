#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/panel/CCommView.h"
#include "app/platform/QtPrompts.h"
#include "support/ScriptedPrompts.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

namespace vistrel {
namespace {

using test::ScriptedPrompts;

TEST(MainFrame, OpensCentredAtFixedSizeWithCaptionPanesAndCommands) {
    AppState state;
    ScriptedPrompts prompts;
    CMainFrame frame(state, prompts);
    frame.show();
    QApplication::processEvents();

    EXPECT_EQ(frame.windowTitle(), QStringLiteral("  Vistrel 32bit"));
    EXPECT_EQ(frame.frameGeometry().size(), QSize(485, 535));
    EXPECT_EQ(frame.minimumSize(), frame.maximumSize());
    EXPECT_FALSE(frame.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(frame.windowFlags() & Qt::WindowMinimizeButtonHint);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(frame.frameGeometry().topLeft(),
              QPoint(screen.x() + (screen.width() - 485) / 2, screen.y() + (screen.height() - 535) / 2));

    EXPECT_EQ(frame.pane(0)->text(), QStringLiteral("Connexion closed"));
    EXPECT_EQ(frame.pane(1)->text(), QStringLiteral("-"));
    EXPECT_EQ(frame.pane(1)->width(), CMainFrame::connectionPaneWidth(screen.width()));

    // Every command is an action named by its id. A frame on its own enables Exit, the link
    // commands and the About box, which is always there; the panel's update rules do the rest.
    for (const int id : {kCmdFileOpen, kCmdAppExit, kCmdComPort, kCmdCameraLink, kCmdConnection, kCmdDisconnection,
                         kCmdAppAbout, kCmdAboutBox, kCmdCameraConfiguration, kCmdRefresh}) {
        ASSERT_NE(frame.action(id), nullptr) << id;
        EXPECT_EQ(frame.action(id)->isEnabled(), id == kCmdAppExit || id == kCmdComPort || id == kCmdCameraLink ||
                                                     id == kCmdAppAbout || id == kCmdAboutBox)
            << id;
    }
    EXPECT_EQ(frame.action(kCmdFileOpen)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));

    // Toolbar: 11 entries, the four commands at positions 2, 5, 9 and 11 on 39 x 39 buttons.
    auto* bar = frame.findChild<QToolBar*>(QString::number(kToolBarId));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->height(), 52);
    const QList<QAction*> buttons = bar->actions();
    ASSERT_EQ(buttons.size(), 11);
    const int commands[] = {kCmdCameraConfiguration, kCmdRefresh, kCmdConnection, kCmdDisconnection};
    const int positions[] = {1, 4, 8, 10};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(buttons[positions[i]], frame.action(commands[i]));
        EXPECT_EQ(bar->widgetForAction(buttons[positions[i]])->size(), QSize(39, 39));
    }

    ASSERT_NE(frame.view(), nullptr);
    EXPECT_EQ(frame.view()->size(), QSize(470, 414));
    auto* statusLine = frame.view()->findChild<QLabel*>(QStringLiteral("1014"));
    ASSERT_NE(statusLine, nullptr);
    EXPECT_EQ(statusLine->text(), QStringLiteral("-"));

    // Idle-time updates carry the pane texts.
    state.records.connection.StatusPaneText = "Connexion opened";
    frame.runUpdateHandlers();
    EXPECT_EQ(frame.pane(0)->text(), QStringLiteral("Connexion opened"));
}

TEST(MainFrame, CameraTextsInPanesAndMessageBoxesAreNeverMarkup) {
    AppState state;
    ScriptedPrompts prompts;
    CMainFrame frame(state, prompts);
    state.records.connection.StatusPaneText = "<b>BIG</b><img src=\"/tmp/x.png\">OK connected";
    frame.runUpdateHandlers();
    EXPECT_EQ(frame.pane(0)->textFormat(), Qt::PlainText);
    std::vector<Qt::TextFormat> formats;
    for (int box = 0; box < 2; ++box) {
        QTimer::singleShot(0, [&] {
            auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            formats.push_back(shown != nullptr ? shown->textFormat() : Qt::AutoText);
            QApplication::activeModalWidget()->close();
        });
        box == 0 ? QtPrompts().tell("<b>BIG</b>") : QtPrompts().tellWithCaption("Camera settings", "<i>x</i>");
    }
    EXPECT_EQ(formats, (std::vector<Qt::TextFormat>{Qt::PlainText, Qt::PlainText}));
}

TEST(MainFrame, PaneZeroKeepsAtLeastHalfTheFrameOnWideAndNarrowScreens) {
    // A quarter of the screen while that is narrow enough; never more than half of the frame.
    EXPECT_EQ(CMainFrame::connectionPaneWidth(800), 200);
    EXPECT_EQ(CMainFrame::connectionPaneWidth(1024), 242);
    EXPECT_EQ(CMainFrame::connectionPaneWidth(1920), 242);
    EXPECT_EQ(CMainFrame::connectionPaneWidth(3840), 242);

    for (const int screenWidth : {1920, 1024}) {
        AppState state;
        ScriptedPrompts prompts;
        CMainFrame frame(state, prompts);
        frame.fitStatusPanes(screenWidth);
        frame.show();
        QApplication::processEvents();
        EXPECT_EQ(frame.pane(1)->width(), 242) << screenWidth;
        EXPECT_LE(frame.pane(1)->width(), frame.frameGeometry().width() / 2) << screenWidth;
        EXPECT_GE(frame.pane(0)->width(), frame.width() / 2 - 20) << screenWidth;
        EXPECT_TRUE(frame.pane(0)->isVisible());
    }
}

TEST(MainFrame, CloseRunsTheExitSequence) {
    AppState state;
    ScriptedPrompts prompts;
    CMainFrame frame(state, prompts);
    int saves = 0;
    frame.setSettingsSave([&](const AppState&) {
        ++saves;
        return ProfileResult{};
    });
    frame.show();
    QApplication::processEvents();

    prompts.script({PromptAnswer::No});
    EXPECT_FALSE(frame.close());
    EXPECT_TRUE(frame.isVisible());
    EXPECT_EQ(state.panel.Xdim, 485);
    EXPECT_EQ(state.panel.Ydim, 535);
    EXPECT_EQ(state.panel.Xpos, frame.frameGeometry().left());

    state.link.SettingsChanged = 1;
    prompts.script({PromptAnswer::Yes, PromptAnswer::Yes});
    frame.action(kCmdAppExit)->trigger();
    EXPECT_FALSE(frame.isVisible());
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(prompts.shown.size(), 3U);
}

} // namespace
} // namespace vistrel
