#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/link/CCameraLinkPortDialog.h"
#include "app/link/CComPortDialog.h"
#include "app/link/LinkMenu.h"
#include "link/CameraLinkLibrary.h"
#include "support/ScriptedPrompts.h"
#include "tests/link/ClserTestControl.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace vistrel {
namespace {

template <typename T> T* control(QWidget* dialog, int id) {
    T* widget = dialog->findChild<T*>(QString::number(id));
    EXPECT_NE(widget, nullptr) << "no control " << id;
    return widget;
}

// Runs `act` on the modal dialog once it is up (exec blocks the test until it closes).
void whenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        act(dialog);
    });
}

TEST(CComPortDialog, GeometryFollowsTheTemplateInDialogUnits) {
    LinkState link;
    CComPortDialog dialog(link);
    EXPECT_EQ(control<QRadioButton>(&dialog, 1029)->geometry(), QRect(9, 11, 63, 26));
    EXPECT_EQ(control<QRadioButton>(&dialog, 1030)->geometry(), QRect(104, 11, 63, 26));
    EXPECT_EQ(control<QComboBox>(&dialog, 1031)->geometry().topLeft(), QPoint(90, 55));
    EXPECT_EQ(control<QPushButton>(&dialog, 1)->geometry(), QRect(11, 120, 75, 23));
    EXPECT_EQ(control<QPushButton>(&dialog, 2)->geometry(), QRect(98, 120, 75, 23));
    EXPECT_EQ(dialog.windowTitle(), "Dialog");
    QComboBox* rates = control<QComboBox>(&dialog, 1031);
    ASSERT_EQ(rates->count(), 3);
    EXPECT_EQ(rates->itemText(0), "9600");
    EXPECT_EQ(rates->itemText(2), "38400");

    CCameraLinkPortDialog ports(link);
    EXPECT_EQ(ports.size(), QSize(197, 219));
    EXPECT_EQ(ports.windowTitle(), "CameraLink Port Selection");
    EXPECT_EQ(control<QListWidget>(&ports, 1026)->geometry(), QRect(27, 42, 143, 124));
    EXPECT_EQ(control<QPushButton>(&ports, 2)->geometry(), QRect(111, 185, 75, 23));
}

TEST(ChooseComPort, CancelKeepsTheLinkButTheOpeningReplacedAnOddRate) {
    test::ClserTestControl library(CLSERTEST_PATH);
    LinkState link;
    test::ScriptedPrompts prompts;
    ASSERT_EQ(LoadCameraLinkLibrary(link, prompts, CLSERTEST_PATH), CameraLinkLoad::Bound);
    link.LinkKind = kLinkCameraLink;
    link.LinkBaudRate = 57600;
    bool com1Shown = false;
    QString rateShown;
    whenModal([&](QWidget* dialog) {
        com1Shown = control<QRadioButton>(dialog, 1029)->isChecked();
        rateShown = control<QComboBox>(dialog, 1031)->currentText();
        control<QComboBox>(dialog, 1041)->setEditText("/dev/ttyUSB7");
        control<QPushButton>(dialog, 2)->click();
    });
    ChooseComPort(link, prompts, nullptr);
    EXPECT_TRUE(com1Shown);
    EXPECT_EQ(rateShown, "9600");
    EXPECT_EQ(link.LinkBaudRate, 9600);
    EXPECT_EQ(link.LinkKind, kLinkCameraLink);
    EXPECT_TRUE(IsCameraLinkBound(link));
    EXPECT_EQ(link.SettingsChanged, 0);
    EXPECT_EQ(link.ComDevice[1], "/dev/ttyS1");

    whenModal([&](QWidget* dialog) {
        control<QRadioButton>(dialog, 1030)->click();
        control<QComboBox>(dialog, 1031)->setCurrentIndex(2);
        control<QComboBox>(dialog, 1041)->setEditText("  rfc2217://station-3:4001 "); // a station's server
        control<QComboBox>(dialog, 1040)->setEditText("");
        control<QPushButton>(dialog, 1)->click();
    });
    ChooseComPort(link, prompts, nullptr);
    EXPECT_EQ(link.LinkKind, kLinkCom2);
    EXPECT_EQ(link.LinkBaudRate, 38400);
    EXPECT_EQ(link.SettingsChanged, 1);
    EXPECT_FALSE(link.CameraLinkLibrary.loaded());
    EXPECT_EQ(link.ComDevice[0], "/dev/ttyS0");
    EXPECT_EQ(link.ComDevice[1], "rfc2217://station-3:4001");
    EXPECT_TRUE(prompts.shown.empty());

    // Reopened: COM2 and 38400 are preselected, the mapping shown.
    QString com2Device;
    bool com2Shown = false;
    whenModal([&](QWidget* dialog) {
        com2Shown = control<QRadioButton>(dialog, 1030)->isChecked();
        rateShown = control<QComboBox>(dialog, 1031)->currentText();
        com2Device = control<QComboBox>(dialog, 1041)->currentText();
        control<QPushButton>(dialog, 2)->click();
    });
    ChooseComPort(link, prompts, nullptr);
    EXPECT_TRUE(com2Shown);
    EXPECT_EQ(rateShown, "38400");
    EXPECT_EQ(com2Device, "rfc2217://station-3:4001");
}

TEST(CCameraLinkPortDialog, ListsProbedPortsAndOkOrDoubleClickSetsThePort) {
    test::ClserTestControl library(CLSERTEST_PATH, 2);
    LinkState link;
    test::ScriptedPrompts prompts;
    ASSERT_EQ(LoadCameraLinkLibrary(link, prompts, CLSERTEST_PATH), CameraLinkLoad::Bound);
    link.CameraLinkPort = 5;
    {
        CCameraLinkPortDialog dialog(link);
        dialog.show();
        QListWidget* list = control<QListWidget>(&dialog, 1026);
        ASSERT_EQ(list->count(), 2);
        EXPECT_EQ(list->item(0)->text(), "CameraLink Port 0");
        EXPECT_EQ(list->item(1)->text(), "CameraLink Port 1");
        EXPECT_EQ(list->currentRow(), 0);
        EXPECT_EQ(library.log(), "init0 close0 init1 close1 init2");
        control<QPushButton>(&dialog, 2)->click();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(link.CameraLinkPort, 5);
        dialog.show();
        EXPECT_EQ(list->count(), 2); // filled afresh, not appended
        control<QPushButton>(&dialog, 1)->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(link.CameraLinkPort, 0);
        dialog.show();
        const QPoint second = list->visualItemRect(list->item(1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second);
        EXPECT_EQ(link.CameraLinkPort, 1);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    ReleaseCameraLinkLibrary(link, prompts);
    {
        // No library, or one that opens no port: an empty list, and OK gives -1.
        CCameraLinkPortDialog dialog(link);
        dialog.show();
        EXPECT_EQ(control<QListWidget>(&dialog, 1026)->count(), 0);
        control<QPushButton>(&dialog, 1)->click();
        EXPECT_EQ(link.CameraLinkPort, -1);
    }
}

TEST(LinkMenu, MainFrameRoutesTheLinkCommandsAndKeepsTheirStates) {
    AppState state;
    test::ScriptedPrompts prompts;
    CMainFrame frame(state, prompts);
    QAction* com = frame.action(kCmdComPort);
    QAction* cameraLink = frame.action(kCmdCameraLink);
    EXPECT_TRUE(com->isChecked() && com->isEnabled() && !cameraLink->isChecked());

    // "&COM PORT ..." opens the COM port dialog; OK on COM2 makes it the link.
    whenModal([](QWidget* dialog) {
        control<QRadioButton>(dialog, 1030)->click();
        control<QPushButton>(dialog, 1)->click();
    });
    com->trigger();
    EXPECT_EQ(state.link.LinkKind, kLinkCom2);
    EXPECT_EQ(state.link.LinkBaudRate, 9600);
    EXPECT_EQ(state.link.SettingsChanged, 1);
    frame.runUpdateHandlers();
    EXPECT_TRUE(com->isChecked());

    // Connected: both greyed; Camera Link in use carries the check mark on its own command.
    state.link.LinkMenuEnabled = false;
    state.link.LinkKind = kLinkCameraLink;
    frame.runUpdateHandlers();
    EXPECT_FALSE(com->isEnabled() || cameraLink->isEnabled());
    EXPECT_FALSE(com->isChecked());
    EXPECT_TRUE(cameraLink->isChecked());
    state.link.LinkMenuEnabled = true;
    frame.runUpdateHandlers();
    EXPECT_TRUE(com->isEnabled() && cameraLink->isEnabled());
}

} // namespace
} // namespace vistrel
