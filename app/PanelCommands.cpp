#include "app/PanelCommands.h"

#include "app/CCommDoc.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/panel/CCameraConfigDialog.h"
#include "panel/CommPanel.h"
#include "panel/PanelRecords.h"

#include <QAction>

namespace vistrel {

namespace {

void applyUpdate(QAction* action, const CommandUpdate& update, bool checkable) {
    if (action == nullptr) {
        return;
    }
    action->setCheckable(checkable);
    action->setEnabled(update.enabled);
    if (checkable) {
        action->setChecked(update.checked);
    }
}

// A command runs only while its update rule enables it: the action's state may be a step behind
// when a pump step of a running load dispatches the click or the key.
void route(CMainFrame& frame, int commandId, std::function<bool()> enabled, std::function<void()> handler) {
    QAction* action = frame.action(commandId);
    if (action == nullptr) {
        return;
    }
    QObject::connect(action, &QAction::triggered, &frame,
                     [&frame, enabled = std::move(enabled), handler = std::move(handler)] {
                         if (!enabled()) {
                             return;
                         }
                         handler();
                         frame.runUpdateHandlers();
                     });
}

} // namespace

std::function<void()> InstallPanelCommands(CMainFrame& frame, CommPanel& panel, const PanelRecords& records,
                                           CCommDoc& document, Prompts& prompts) {
    const auto always = [] { return true; };
    route(frame, kCmdConnection, always, [&panel] { panel.OnConnection(); });
    route(frame, kCmdDisconnection, always, [&panel] { panel.OnDisconnection(); });
    route(
        frame, kCmdRefresh, [&panel] { return panel.OnUpdateRefresh().enabled; }, [&panel] { panel.OnRefresh(); });
    const auto configure = [&panel, &prompts, &frame] {
        CCameraConfigDialog dialog(prompts, &frame);
        panel.OpenCameraConfiguration(dialog);
    };
    route(
        frame, kCmdFileOpen, [&panel] { return panel.OnUpdateFileOpen().enabled; }, configure);
    route(
        frame, kCmdCameraConfiguration, [&panel] { return panel.OnUpdateConfigCommand().enabled; }, configure);

    auto update = [&frame, &panel, &records, &document] {
        applyUpdate(frame.action(kCmdConnection), panel.OnUpdateConnection(), true);
        applyUpdate(frame.action(kCmdDisconnection), panel.OnUpdateDisconnection(), true);
        const CommandUpdate configuration = panel.OnUpdateConfigCommand();
        applyUpdate(frame.action(kCmdCameraConfiguration), configuration, false);
        document.SetTitle(records.LoadedTitle);
        applyUpdate(frame.action(kCmdRefresh), panel.OnUpdateRefresh(), false);
        applyUpdate(frame.action(kCmdFileOpen), panel.OnUpdateFileOpen(), false);
    };
    update();
    return update;
}

} // namespace vistrel
