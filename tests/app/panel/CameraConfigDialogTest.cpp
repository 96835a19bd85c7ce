#include "app/panel/CCameraConfigDialog.h"
#include "app/panel/EditableList.h"
#include "support/ScriptedPrompts.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace vistrel {
namespace {

using test::ScriptedPrompts;

template <typename T> T* control(QWidget* dialog, int id) {
    T* widget = dialog->findChild<T*>(QString::number(id));
    EXPECT_NE(widget, nullptr) << "no control " << id;
    return widget;
}

// Runs `act` on the dialog once it is up (run() blocks until it closes).
void whenShown(CCameraConfigDialog& dialog, const std::function<void()>& act) {
    QTimer::singleShot(0, &dialog, [&dialog, act] {
        EXPECT_TRUE(dialog.isVisible());
        act();
    });
}

CameraConfigSetup threeFiles(int radioChecked, bool ini, bool camera) {
    CameraConfigSetup setup;
    setup.names = {"areascan.cam", "linescan.cam", "minimal.cam"};
    setup.selected = 1;
    setup.editText = "linescan.cam";
    setup.radioEnabled[0] = ini;
    setup.radioEnabled[1] = camera;
    setup.radioEnabled[2] = camera;
    setup.radioChecked = radioChecked;
    return setup;
}

void doubleClickEntry(CCameraConfigDialog& dialog, int row) {
    QListWidget* list = control<EditableList>(&dialog, 102)->list();
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

TEST(CCameraConfigDialog, TemplateLayoutAndWhatTheSetupShows) {
    ScriptedPrompts prompts;
    CCameraConfigDialog dialog(prompts);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Camera configuration "));
    EXPECT_EQ(dialog.size(), QSize(198, 249));
    EXPECT_EQ(control<QPushButton>(&dialog, 1)->geometry(), QRect(12, 215, 75, 23));
    EXPECT_TRUE(control<QPushButton>(&dialog, 1)->isDefault());
    EXPECT_EQ(control<QPushButton>(&dialog, 2)->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(control<EditableList>(&dialog, 102)->geometry(), QRect(21, 26, 156, 111));
    EXPECT_EQ(control<QRadioButton>(&dialog, 1017)->geometry(), QRect(47, 166, 113, 13));
    EXPECT_EQ(control<QRadioButton>(&dialog, 1018)->text(), QStringLiteral("Factory settings"));
    ASSERT_EQ(dialog.findChildren<QLabel*>().size(), 1);
    EXPECT_EQ(dialog.findChild<QLabel*>()->text(), QStringLiteral("Select a Camera Configuration File"));

    // Entries in the given order, the selected one shown in the edit field.
    dialog.OnInitDialog(threeFiles(1, true, true));
    EditableList* files = control<EditableList>(&dialog, 102);
    ASSERT_EQ(files->count(), 3);
    EXPECT_EQ(files->entryShown(2), QStringLiteral("minimal.cam"));
    EXPECT_EQ(files->selection(), 1);
    EXPECT_EQ(files->editField()->text(), QStringLiteral("linescan.cam"));

    // Nothing to select: the edit field shows the name as it is.
    CameraConfigSetup empty;
    empty.editText = "gone.cam";
    dialog.OnInitDialog(empty);
    EXPECT_EQ(files->count(), 0);
    EXPECT_EQ(files->editField()->text(), QStringLiteral("gone.cam"));

    // The radios in the four combinations of settings file and identified camera.
    struct Case {
        bool ini, camera;
        int checked;
    };
    for (const Case c : {Case{true, true, 1}, Case{true, false, 0}, Case{false, true, 1}, Case{false, false, 0}}) {
        dialog.OnInitDialog(threeFiles(c.checked, c.ini, c.camera));
        const bool enabled[3] = {c.ini, c.camera, c.camera};
        for (int i = 0; i < 3; ++i) {
            auto* radio = control<QRadioButton>(&dialog, 1016 + i);
            EXPECT_EQ(radio->isEnabled(), enabled[i]) << c.ini << c.camera << i;
            EXPECT_EQ(radio->isChecked(), i == c.checked) << c.ini << c.camera << i;
        }
    }
}

TEST(CCameraConfigDialog, DoubleClickTakesTheEntryAndTheCheckedRadio) {
    for (int radio = -1; radio < 3; ++radio) {
        ScriptedPrompts prompts;
        CCameraConfigDialog dialog(prompts);
        whenShown(dialog, [&] { doubleClickEntry(dialog, 2); });
        const std::optional<CameraConfigAnswer> answer = dialog.run(threeFiles(radio, true, true));
        ASSERT_TRUE(answer.has_value()) << radio;
        EXPECT_EQ(answer->fileName, "minimal.cam");
        // With no radio checked the choice keeps its initial value.
        EXPECT_EQ(static_cast<int>(answer->initChoice), radio < 0 ? 0 : radio);
        EXPECT_TRUE(prompts.shown.empty());
    }

    // A double click checks no length: a long name is taken as it is.
    ScriptedPrompts prompts;
    CCameraConfigDialog dialog(prompts);
    CameraConfigSetup setup = threeFiles(0, true, false);
    setup.names.push_back(std::string(60, 'x') + ".cam");
    whenShown(dialog, [&] { doubleClickEntry(dialog, 3); });
    const std::optional<CameraConfigAnswer> answer = dialog.run(setup);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->fileName, setup.names[3]);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST(CCameraConfigDialog, OkRefusesMoreThanFiftyCharactersAndStaysOpen) {
    ScriptedPrompts prompts;
    CCameraConfigDialog dialog(prompts);
    QLineEdit* edit = nullptr;
    whenShown(dialog, [&] {
        edit = control<EditableList>(&dialog, 102)->editField();
        edit->setText(QString(51, QLatin1Char('n')));
        control<QPushButton>(&dialog, 1)->click();
        EXPECT_TRUE(dialog.isVisible());
        ASSERT_EQ(prompts.texts(), std::vector<std::string>{"Please enter no more than 50 characters."});
        EXPECT_EQ(prompts.shown[0].buttons, PromptButtons::Ok);

        // Fifty characters, typed, and a radio chosen by the user.
        edit->setText(QString(46, QLatin1Char('n')) + QStringLiteral(".cam"));
        control<QRadioButton>(&dialog, 1018)->click();
        control<QPushButton>(&dialog, 1)->click();
    });
    const std::optional<CameraConfigAnswer> answer = dialog.run(threeFiles(1, true, true));
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->fileName, std::string(46, 'n') + ".cam");
    EXPECT_EQ(answer->initChoice, InitChoice::FactorySettings);
    EXPECT_EQ(prompts.shown.size(), 1U);

    // OK with no radio checked answers -1.
    whenShown(dialog, [&] { control<QPushButton>(&dialog, 1)->click(); });
    const std::optional<CameraConfigAnswer> none = dialog.run(threeFiles(-1, true, true));
    ASSERT_TRUE(none.has_value());
    EXPECT_EQ(none->fileName, "linescan.cam");
    EXPECT_EQ(none->initChoice, InitChoice::None);
}

TEST(CCameraConfigDialog, CancelAndEscapeAnswerNothing) {
    ScriptedPrompts prompts;
    CCameraConfigDialog dialog(prompts);
    whenShown(dialog, [&] {
        control<EditableList>(&dialog, 102)->editField()->setText(QStringLiteral("typed.cam"));
        control<QPushButton>(&dialog, 2)->click();
    });
    EXPECT_FALSE(dialog.run(threeFiles(0, true, true)).has_value());

    whenShown(dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
    EXPECT_FALSE(dialog.run(threeFiles(0, true, true)).has_value());
    EXPECT_TRUE(prompts.shown.empty());
}

} // namespace
} // namespace vistrel
