#pragma once

#include "platform/Prompts.h"
#include "shell/AppState.h"
#include "shell/ExitSequence.h"

#include <QMainWindow>
#include <functional>
#include <vector>

class QAction;
class QLabel;
class QScrollArea;

namespace vistrel {

class CCommView;

// The program's one top-level window: fixed size, centred, with the menu bar, the toolbar of four
// buttons, the panel view and the status bar.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kOuterWidth = 485;
    static constexpr int kOuterHeight = 535;

    CMainFrame(AppState& state, Prompts& prompts, QWidget* parent = nullptr);

    // The action of a menu or toolbar command, by its id; null for an unknown id.
    QAction* action(int commandId) const;
    // Status bar panes 0 and 1, and the caps-lock indicator (pane 2).
    QLabel* pane(int index) const;

    // Pane 1 takes a quarter of the screen's width, but never more than half of the frame's, so pane 0
    // (the connection state and the menu prompts) stays readable on a wide screen.
    static int connectionPaneWidth(int screenWidth);
    // Sizes the panes for a screen of this width; the frame does it for its own screen when built.
    void fitStatusPanes(int screenWidth);
    CCommView* view() const { return m_view; }

    void setSettingsSave(SettingsSave save) { m_save = std::move(save); }
    void setCameraLinkRelease(CameraLinkRelease release) { m_releaseCameraLink = std::move(release); }
    // Run once the user has confirmed quitting, before the window closes (a load or an apply may be
    // running underneath).
    void setQuitConfirmed(std::function<void()> confirmed) { m_quitConfirmed = std::move(confirmed); }

    // Idle-time updates: run when the event loop is about to wait, so command states and panes
    // follow the program's state.
    void addUpdateHandler(std::function<void()> handler) { m_updateHandlers.push_back(std::move(handler)); }
    void runUpdateHandlers();

    // The exit sequence; the window closes unless the outcome is GoOn.
    ExitOutcome OnClose();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* addCommand(int commandId, const QString& text, const QString& prompt, bool enabled);
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void placeCentred();
    void updatePanes();

    AppState& m_state;
    Prompts& m_prompts;
    SettingsSave m_save;
    CameraLinkRelease m_releaseCameraLink;
    std::function<void()> m_quitConfirmed;
    std::vector<std::function<void()>> m_updateHandlers;
    QLabel* m_panes[3] = {};
    CCommView* m_view = nullptr;
    QScrollArea* m_scrollArea = nullptr;
    bool m_outerSizeFitted = false;
};

} // namespace vistrel
