#include "app/CMainFrame.h"

#include "app/CapsLockState.h"
#include "app/CommandIds.h"
#include "app/CutTextToolTip.h"
#include "app/link/LinkMenu.h"
#include "app/panel/CCommView.h"
#include "app/platform/QtPrompts.h"
#include "settings/SettingsSave.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <ctime>

namespace vistrel {

namespace {

constexpr int kButtonSize = 39;
constexpr int kImageSize = 32;
constexpr int kBarHeight = 52;
constexpr int kSeparatorWidth = 8;

QRect screenRect() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry() : QRect(0, 0, 1024, 768);
}

} // namespace

CMainFrame::CMainFrame(AppState& state, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_state(state), m_prompts(prompts), m_save([](const AppState& s) {
          return SavePanelState(s.values, s.link, s.panel, std::time(nullptr), &s.transcript);
      }) {
    setWindowTitle(QStringLiteral("  Vistrel 32bit"));
    setContextMenuPolicy(Qt::NoContextMenu); // the bars cannot be hidden or moved
    createMenus();
    createToolBar();
    createStatusBar();

    m_scrollArea = new QScrollArea(this);
    m_view = new CCommView(m_scrollArea);
    m_scrollArea->setWidget(m_view);
    setCentralWidget(m_scrollArea);

    setFixedSize(kOuterWidth, kOuterHeight);
    placeCentred();

    addUpdateHandler([this] { updatePanes(); });
    addUpdateHandler(InstallLinkMenu(action(kCmdComPort), action(kCmdCameraLink), m_state.link, m_prompts, this));
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &CMainFrame::runUpdateHandlers);
    }
}

QAction* CMainFrame::addCommand(int commandId, const QString& text, const QString& prompt, bool enabled) {
    auto* command = new QAction(text, this);
    command->setObjectName(QString::number(commandId));
    command->setStatusTip(prompt);
    command->setEnabled(enabled);
    return command;
}

void CMainFrame::createMenus() {
    // Commands start disabled; the update rules of the panel and the link enable them.
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* open =
        addCommand(kCmdFileOpen, QStringLiteral("&Open"), QStringLiteral("Open an existing document"), false);
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    file->addAction(open);
    file->addAction(addCommand(kCmdSaveCameraSettings, QStringLiteral("Save camera settings as..."),
                               QStringLiteral("Write the panel's values to a camera settings file"), false));
    file->addAction(addCommand(kCmdOpenCameraSettings, QStringLiteral("Open camera settings..."),
                               QStringLiteral("Put the values of a camera settings file on the panel and send them"),
                               false));
    file->addAction(addCommand(kCmdCompareWithCamera, QStringLiteral("Compare with camera..."),
                               QStringLiteral("Compare the panel with the camera's own settings"), false));
    file->addSeparator();
    QAction* exitCommand = addCommand(kCmdAppExit, QStringLiteral("E&xit"),
                                      QStringLiteral("Quits the application; prompts to save settings"), true);
    connect(exitCommand, &QAction::triggered, this, &QWidget::close);
    file->addAction(exitCommand);

    QMenu* link = menuBar()->addMenu(QStringLiteral("Serial Port"));
    link->addAction(addCommand(kCmdComPort, QStringLiteral("&COM PORT ..."), QString(), false));
    link->addAction(addCommand(kCmdCameraLink, QStringLiteral("CAMERA&LINK ..."),
                               QStringLiteral("Connect to the camera through CameraLink"), false));
    link->addSeparator();
    link->addAction(addCommand(kCmdConnection, QStringLiteral("Co&nnection"), QString(), false));
    link->addAction(addCommand(kCmdDisconnection, QStringLiteral("&Disconnection"), QString(), false));
    link->addSeparator();
    QAction* reconnect =
        addCommand(kCmdAutoReconnect, QStringLiteral("Reconnect &automatically"),
                   QStringLiteral("After a lost link, connect again as soon as the device is back"), true);
    reconnect->setCheckable(true);
    link->addAction(reconnect);
    QAction* reapply = addCommand(kCmdReapplyAfterReconnect, QStringLiteral("Send &panel after reconnecting"),
                                  QStringLiteral("After an automatic reconnection, send the whole panel again"), true);
    reapply->setCheckable(true);
    link->addAction(reapply);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    QAction* transcript = addCommand(kCmdTranscript, QStringLiteral("&Transcript"),
                                     QStringLiteral("Every operation of the link, with its time"), true);
    transcript->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    view->addAction(transcript);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(addCommand(kCmdAppAbout, QStringLiteral("&About Vistrel"),
                               QStringLiteral("Display program information, version number and copyright"), true));
    addCommand(kCmdAboutBox, QStringLiteral("About"), QString(), true); // no menu item

    // Toolbar-only commands.
    addCommand(kCmdCameraConfiguration, QStringLiteral("Camera configuration"), QString(), false);
    addCommand(kCmdRefresh, QStringLiteral("Refresh"), QString(), false);
}

void CMainFrame::createToolBar() {
    auto* bar = new QToolBar(this);
    bar->setObjectName(QString::number(kToolBarId));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(kImageSize, kImageSize));
    bar->setFixedHeight(kBarHeight);
    addToolBar(Qt::TopToolBarArea, bar);

    // 0 stands for a separator: a blank gap, as on a bar without the flat style.
    const int entries[] = {0, kCmdCameraConfiguration, 0, 0, kCmdRefresh, 0, 0, 0, kCmdConnection,
                           0, kCmdDisconnection};
    const char* const images[] = {":/toolbar/configuration.png", ":/toolbar/refresh.png", ":/toolbar/connection.png",
                                  ":/toolbar/disconnection.png"};
    int image = 0;
    for (const int entry : entries) {
        if (entry == 0) {
            auto* gap = new QWidget(bar);
            gap->setObjectName(QStringLiteral("separator"));
            gap->setFixedSize(kSeparatorWidth, kButtonSize);
            bar->addWidget(gap);
            continue;
        }
        QAction* command = action(entry);
        command->setIcon(QIcon(QString::fromLatin1(images[image++])));
        bar->addAction(command);
        QWidget* button = bar->widgetForAction(command);
        button->setFixedSize(kButtonSize, kButtonSize);
        button->installEventFilter(this); // no tooltips
    }
}

void CMainFrame::createStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QString::number(kStatusBarId));
    bar->setSizeGripEnabled(false);
    for (int i = 0; i < 3; ++i) {
        m_panes[i] = new QLabel(bar);
        m_panes[i]->setObjectName(QStringLiteral("pane%1").arg(i));
        // The panes show what the camera and the link said: never markup.
        m_panes[i]->setTextFormat(Qt::PlainText);
        m_panes[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    m_panes[0]->setMinimumWidth(1);
    CutTextToolTip::install(m_panes[0]); // its texts may not fit, and a failed connection says why
    bar->addWidget(m_panes[0], 1);       // hidden while a menu prompt is shown in its place
    fitStatusPanes(screenRect().width());
    bar->addPermanentWidget(m_panes[1]);
    m_panes[2]->setObjectName(QString::number(kCapsLockIndicatorId));
    bar->addPermanentWidget(m_panes[2]);
    m_panes[2]->setFixedWidth(m_panes[2]->fontMetrics().horizontalAdvance(QStringLiteral("CAP")) + 8);
    m_panes[2]->hide(); // until the platform reports the caps-lock state
}

QAction* CMainFrame::action(int commandId) const {
    return findChild<QAction*>(QString::number(commandId), Qt::FindDirectChildrenOnly);
}

int CMainFrame::connectionPaneWidth(int screenWidth) {
    return std::min(screenWidth / 4, kOuterWidth / 2);
}

void CMainFrame::fitStatusPanes(int screenWidth) {
    m_panes[1]->setFixedWidth(connectionPaneWidth(screenWidth));
}

QLabel* CMainFrame::pane(int index) const {
    return (index >= 0 && index < 3) ? m_panes[index] : nullptr;
}

void CMainFrame::placeCentred() {
    const QRect screen = screenRect();
    move(screen.x() + (screen.width() - kOuterWidth) / 2, screen.y() + (screen.height() - kOuterHeight) / 2);
}

void CMainFrame::updatePanes() {
    const QString status = displayText(m_state.records.connection.StatusPaneText);
    if (m_panes[0]->text() != status) {
        m_panes[0]->setText(status);
    }
    CutTextToolTip::setExplanation(m_panes[0], displayText(m_state.records.connection.StatusPaneReason));
    const QString connection = displayText(m_state.records.connection.ConnectionPaneText);
    if (m_panes[1]->text() != connection) {
        m_panes[1]->setText(connection);
    }
    const std::optional<bool> caps = capsLockOn();
    const QString capsText = caps.value_or(false) ? QStringLiteral("CAP") : QString();
    if (m_panes[2]->isHidden() == caps.has_value()) {
        m_panes[2]->setVisible(caps.has_value());
    }
    if (m_panes[2]->text() != capsText) {
        m_panes[2]->setText(capsText);
    }
}

void CMainFrame::runUpdateHandlers() {
    for (const auto& handler : m_updateHandlers) {
        handler();
    }
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    updatePanes();
    m_panes[0]->repaint();
    m_panes[1]->repaint();
    if (!m_outerSizeFitted) {
        // The window manager adds its frame around the client area only once the window is shown;
        // the client then shrinks so that the outer size stays 485 x 535.
        QTimer::singleShot(0, this, [this] {
            const QRect outer = frameGeometry();
            const QRect inner = geometry();
            const int extraWidth = outer.width() - inner.width();
            const int extraHeight = outer.height() - inner.height();
            m_outerSizeFitted = true;
            if (extraWidth > 0 || extraHeight > 0) {
                setFixedSize(kOuterWidth - extraWidth, kOuterHeight - extraHeight);
                placeCentred();
            }
        });
    }
}

ExitOutcome CMainFrame::OnClose() {
    const QRect outer = frameGeometry();
    const WindowRect rect{outer.left(), outer.top(), outer.left() + outer.width(), outer.top() + outer.height()};
    return vistrel::OnClose(rect, m_state, m_prompts, m_save, m_releaseCameraLink);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (OnClose() == ExitOutcome::GoOn) {
        event->ignore();
        return;
    }
    if (m_quitConfirmed) {
        m_quitConfirmed();
    }
    event->accept();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace vistrel
