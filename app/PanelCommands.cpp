#include "app/PanelCommands.h"

#include "app/CCommDoc.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/panel/CCameraConfigDialog.h"
#include "app/panel/CCompareSettingsDialog.h"
#include "app/platform/QtPrompts.h"
#include "panel/CommPanel.h"
#include "panel/PanelRecords.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <cctype>
#include <ctime>
#include <string>

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
    route(frame, kCmdConnection, always, [&panel, &records, &prompts] {
        panel.OnConnection();
        // The status pane keeps the link's own text; why the device would not open, and what to do
        // about it, is said here.
        const ConnectionState& connection = records.connection;
        if (!connection.StatusPaneReason.empty()) {
            std::string reason = connection.StatusPaneReason;
            reason[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(reason[0])));
            prompts.tell(connection.StatusPaneText + "\n\n" + reason + ".");
        }
    });
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

    const QString filter = QStringLiteral("Camera settings (*.vcs)");
    const auto folder = [&panel] {
        const std::string path = panel.cameraSettingsFolder();
        QDir().mkpath(QString::fromStdString(path));
        return QString::fromStdString(path);
    };
    route(
        frame, kCmdSaveCameraSettings, [&panel] { return panel.OnUpdateSaveCameraSettings().enabled; },
        [&panel, &prompts, &frame, filter, folder] {
            QString path =
                QFileDialog::getSaveFileName(&frame, QStringLiteral("Save camera settings as"), folder(), filter);
            if (path.isEmpty()) {
                return;
            }
            if (!path.endsWith(QStringLiteral(".vcs"), Qt::CaseInsensitive)) {
                path += QStringLiteral(".vcs");
            }
            const ProfileResult saved =
                panel.SaveCameraSettingsFile(path.toStdString(), panel.panelStateShown(), std::time(nullptr));
            if (!saved.ok) {
                prompts.tell("The camera settings could not be saved to " + path.toStdString() + ": " + saved.reason);
            }
        });
    route(
        frame, kCmdOpenCameraSettings, [&panel] { return panel.OnUpdateFileOpen().enabled; },
        [&panel, &frame, filter, folder] {
            const QString path =
                QFileDialog::getOpenFileName(&frame, QStringLiteral("Open camera settings"), folder(), filter);
            if (!path.isEmpty()) {
                panel.OpenCameraSettingsFile(path.toStdString());
            }
        });
    route(
        frame, kCmdCompareWithCamera, [&panel] { return panel.OnUpdateCompareWithCamera().enabled; },
        [&panel, &frame] {
            if (const std::optional<SettingsComparison> comparison = panel.CompareWithCamera()) {
                CCompareSettingsDialog dialog(panel, *comparison, &frame);
                dialog.exec();
            }
        });

    auto update = [&frame, &panel, &records, &document] {
        applyUpdate(frame.action(kCmdConnection), panel.OnUpdateConnection(), true);
        applyUpdate(frame.action(kCmdDisconnection), panel.OnUpdateDisconnection(), true);
        const CommandUpdate configuration = panel.OnUpdateConfigCommand();
        applyUpdate(frame.action(kCmdCameraConfiguration), configuration, false);
        document.SetTitle(records.LoadedTitle);
        applyUpdate(frame.action(kCmdRefresh), panel.OnUpdateRefresh(), false);
        applyUpdate(frame.action(kCmdFileOpen), panel.OnUpdateFileOpen(), false);
        applyUpdate(frame.action(kCmdOpenCameraSettings), panel.OnUpdateFileOpen(), false);
        applyUpdate(frame.action(kCmdSaveCameraSettings), panel.OnUpdateSaveCameraSettings(), false);
        applyUpdate(frame.action(kCmdCompareWithCamera), panel.OnUpdateCompareWithCamera(), false);
    };
    update();
    return update;
}

} // namespace vistrel
