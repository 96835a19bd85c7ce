#include "app/CutTextToolTip.h"
#include "app/panel/CCommView.h"
#include "app/panel/EditableList.h"
#include "panel/CommPanel.h"
#include "support/ScriptedPrompts.h"
#include "tests/panel/PanelDoubles.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QGroupBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <vector>

namespace vistrel {
namespace {

template <typename T> T* control(QWidget* view, int id) {
    T* widget = view->findChild<T*>(QString::number(id), Qt::FindDirectChildrenOnly);
    EXPECT_NE(widget, nullptr) << "no control " << id;
    return widget;
}

// The id of the control a widget belongs to (a list's edit field belongs to the list), 0 for none.
int owningId(QWidget* view, QWidget* widget) {
    while (widget != nullptr && widget->parentWidget() != view) {
        widget = widget->parentWidget();
    }
    return widget != nullptr ? widget->objectName().toInt() : 0;
}

const std::vector<int> kDropDowns = {1029, 1024, 1028, 1030, 1034, 1037, 1038, 1033};
const std::vector<int> kLists = {110, 111, 112, 113, 114};

TEST(CCommView, ControlsSitAtTheTemplateGeometryInTabOrder) {
    CCommView view;
    EXPECT_EQ(view.size(), QSize(470, 414));

    // x * 1.5 and y * 1.625, each rounded to the nearest pixel.
    EXPECT_EQ(control<QGroupBox>(&view, 1000)->geometry(), QRect(12, 7, 108, 52));
    EXPECT_EQ(control<QGroupBox>(&view, 1010)->geometry(), QRect(378, 150, 78, 137));
    EXPECT_EQ(control<EditableList>(&view, 110)->geometry(), QRect(30, 169, 57, 85));
    EXPECT_EQ(control<EditableList>(&view, 111)->geometry(), QRect(120, 171, 57, 85));
    EXPECT_EQ(control<QPushButton>(&view, 1046)->geometry(), QRect(30, 260, 57, 20));
    EXPECT_EQ(control<QPushButton>(&view, 1051)->geometry(), QRect(212, 315, 57, 20));
    EXPECT_EQ(control<QCheckBox>(&view, 1036)->geometry(), QRect(360, 117, 102, 29));
    EXPECT_EQ(control<QPlainTextEdit>(&view, 126)->geometry(), QRect(17, 351, 440, 52));
    EXPECT_EQ(control<QLabel>(&view, 1014)->geometry(), QRect(299, 314, 147, 18));
    // Drop-downs keep their closed height; 60 units is what they drop to.
    QComboBox* combo = control<QComboBox>(&view, 1038);
    EXPECT_EQ(combo->geometry(), QRect(360, 26, 96, combo->sizeHint().height()));
    QComboBox* freeText = control<QComboBox>(&view, 1020);
    EXPECT_EQ(freeText->geometry().topLeft(), QPoint(26, 315));
    EXPECT_EQ(freeText->width(), 179);

    // Tab order is the template's: the focus chain meets the controls in its order.
    std::vector<int> order;
    QWidget* widget = &view;
    do {
        widget = widget->nextInFocusChain();
        const int id = owningId(&view, widget);
        if (id != 0 && widget->focusPolicy() & Qt::TabFocus && (order.empty() || order.back() != id)) {
            order.push_back(id);
        }
    } while (widget != &view);
    const std::vector<int> expected = {1029, 1024, 1028, 1030, 1034, 1031, 1032, 1035, 110,  1046, 111,  112, 113,
                                       126,  1036, 114,  1047, 1048, 1049, 1050, 1037, 1038, 1033, 1051, 1020};
    EXPECT_EQ(order, expected);

    // The group boxes frame their controls without covering them: a click lands on the control.
    view.show();
    for (const std::vector<int>* ids : {&kDropDowns, &kLists}) {
        for (const int id : *ids) {
            QWidget* target = control<QWidget>(&view, id);
            EXPECT_EQ(owningId(&view, view.childAt(target->geometry().center())), id) << id;
        }
    }
    EXPECT_EQ(owningId(&view, view.childAt(control<QWidget>(&view, 1046)->geometry().center())), 1046);
}

TEST(CCommView, StartsEmptyWithTheCameraControlsDisabled) {
    CCommView view;
    for (const int id : {1029, 1024, 1028, 1030, 1033, 1034, 1038, 1037, 1031, 1032, 1035, 1036,
                         110,  111,  112,  113,  114,  1046, 1047, 1048, 1049, 1050, 1051, 1020}) {
        EXPECT_FALSE(control<QWidget>(&view, id)->isEnabled()) << id;
    }
    for (const int id : {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010, 1011, 1013}) {
        EXPECT_TRUE(control<QGroupBox>(&view, id)->isEnabled()) << id;
        EXPECT_TRUE(control<QGroupBox>(&view, id)->title().isEmpty()) << id;
    }
    for (const int id : {1031, 1032, 1035, 1036}) {
        EXPECT_TRUE(control<QCheckBox>(&view, id)->text().isEmpty()) << id;
    }
    for (const int id : {1046, 1047, 1048, 1049, 1050}) {
        EXPECT_EQ(control<QPushButton>(&view, id)->text(), QStringLiteral("Apply")) << id;
    }
    EXPECT_EQ(control<QPushButton>(&view, 1051)->text(), QStringLiteral("Send"));
    EXPECT_EQ(control<QLabel>(&view, 1014)->text(), QStringLiteral("-"));
    EXPECT_TRUE(control<QPlainTextEdit>(&view, 126)->isReadOnly());
    EXPECT_TRUE(control<QComboBox>(&view, 1020)->isEditable());
    for (const int id : kDropDowns) {
        EXPECT_FALSE(control<QComboBox>(&view, id)->isEditable()) << id;
    }
    QStringList groupTitles;
    for (QGroupBox* group : view.findChildren<QGroupBox*>()) {
        if (group->objectName().isEmpty()) {
            groupTitles << group->title();
        }
    }
    groupTitles.sort();
    EXPECT_EQ(groupTitles, QStringList({"Free programming area", "Status"}));
}

TEST(CCommView, EntriesKeepTheirBytesOrderAndNoSelectionOfTheirOwn) {
    CCommView view;
    const std::string latin1Micro = "10 \xB5s"; // written on Windows
    const std::string utf8Micro = "20 \xC2\xB5s";
    for (const int id : {1029, 1020, 110}) {
        view.insertEntry(id, -1, latin1Micro);
        view.insertEntry(id, -1, utf8Micro);
        view.insertEntry(id, 0, "first");
        EXPECT_EQ(view.entryCount(id), 3) << id;
        EXPECT_EQ(view.entryText(id, 0), "first") << id;
        EXPECT_EQ(view.entryText(id, 1), latin1Micro) << id;
        EXPECT_EQ(view.entryText(id, 2), utf8Micro) << id;
        // Filling a list selects nothing.
        EXPECT_EQ(view.selection(id), -1) << id;
        view.select(id, 1);
        EXPECT_EQ(view.selection(id), 1) << id;
        view.clearEntries(id);
        EXPECT_EQ(view.entryCount(id), 0) << id;
    }
    QComboBox* combo = control<QComboBox>(&view, 1029);
    view.insertEntry(1029, -1, latin1Micro);
    EXPECT_EQ(combo->itemText(0), QString::fromUtf8("10 \xC2\xB5s"));

    // A list's edit field: a picked entry goes back as its bytes, a typed text as UTF-8.
    EditableList* list = control<EditableList>(&view, 111);
    view.insertEntry(111, -1, "5");
    view.insertEntry(111, -1, latin1Micro);
    view.select(111, 1);
    EXPECT_EQ(list->editField()->text(), QString::fromUtf8("10 \xC2\xB5s"));
    EXPECT_EQ(view.editText(111), latin1Micro);
    list->editField()->setText(QString::fromUtf8("7 \xC2\xB5s"));
    EXPECT_EQ(view.editText(111), "7 \xC2\xB5s");
    // No selection empties the edit field, as a combo box with an edit field does.
    view.select(111, -1);
    EXPECT_EQ(view.selection(111), -1);
    EXPECT_EQ(view.editText(111), "");
    view.setEditText(111, "33");
    EXPECT_EQ(list->editField()->text(), QStringLiteral("33"));

    // The user picking an entry in the list shows it in the edit field.
    list->setEnabled(true);
    view.show();
    QListWidget* entries = list->list();
    QTest::mouseClick(entries->viewport(), Qt::LeftButton, {}, entries->visualItemRect(entries->item(0)).center());
    EXPECT_EQ(view.selection(111), 0);
    EXPECT_EQ(view.editText(111), "5");
    // The edit field is the list's tab stop; its arrow keys move through the entries.
    EXPECT_EQ(entries->focusPolicy(), Qt::NoFocus);
    QTest::keyClick(list->editField(), Qt::Key_Down);
    EXPECT_EQ(view.selection(111), 1);
    EXPECT_EQ(view.editText(111), latin1Micro);
    QTest::keyClick(list->editField(), Qt::Key_Down);
    QTest::keyClick(list->editField(), Qt::Key_Up);
    EXPECT_EQ(view.editText(111), "5");

    // The free programming area keeps what is typed while successful commands are appended.
    QComboBox* freeText = control<QComboBox>(&view, 1020);
    freeText->setEditText(QStringLiteral("!=3"));
    view.insertEntry(1020, -1, "!=3");
    EXPECT_EQ(view.editText(1020), "!=3");
    EXPECT_EQ(view.selection(1020), -1);
    view.setEditText(1020, latin1Micro);
    EXPECT_EQ(view.editText(1020), "10 \xC2\xB5s");
}

TEST(CCommView, ShowsCaptionsRepliesAndStatusTextsAsGiven) {
    CCommView view;
    view.setCaption(1013, "Gain");
    view.setCaption(1031, "Mirror \xE9");
    view.setCaption(1046, "not a caption");
    EXPECT_EQ(control<QGroupBox>(&view, 1013)->title(), QStringLiteral("Gain"));
    EXPECT_EQ(control<QCheckBox>(&view, 1031)->text(), QString::fromUtf8("Mirror \xC3\xA9"));
    EXPECT_EQ(control<QPushButton>(&view, 1046)->text(), QStringLiteral("Apply"));
    // An '&' of a description is shown, never taken as a shortcut.
    view.setCaption(1000, "Black & white");
    view.setCaption(1032, "R&D");
    EXPECT_TRUE(QKeySequence::mnemonic(control<QGroupBox>(&view, 1000)->title()).isEmpty());
    EXPECT_TRUE(QKeySequence::mnemonic(control<QCheckBox>(&view, 1032)->text()).isEmpty());
    // The fixed layout cuts a long caption: the tooltip shows it whole, and a whole caption needs none.
    view.setCaption(1032, "Flat field & dark correction with the reference");
    view.setCaption(1000, "Exposure time of the line in microseconds");
    EXPECT_EQ(CutTextToolTip::toolTipOf(control<QCheckBox>(&view, 1032)),
              QStringLiteral("Flat field & dark correction with the reference"));
    EXPECT_EQ(CutTextToolTip::toolTipOf(control<QGroupBox>(&view, 1000)),
              QStringLiteral("Exposure time of the line in microseconds"));
    EXPECT_EQ(CutTextToolTip::toolTipOf(control<QCheckBox>(&view, 1031)), QString());
    EXPECT_EQ(CutTextToolTip::toolTipOf(control<QGroupBox>(&view, 1013)), QString());

    view.setChecked(1032, true);
    EXPECT_TRUE(view.checked(1032));
    view.setEnabled(1050, true);
    EXPECT_TRUE(control<QPushButton>(&view, 1050)->isEnabled());

    view.showReply(">E\r\n>OK\r\n");
    EXPECT_EQ(control<QPlainTextEdit>(&view, 126)->toPlainText(), QStringLiteral(">E\n>OK\n"));
    // Texts from a description are shown as they are, markup and percent signs included.
    view.showStatusLine("<b>100% wrong</b>");
    auto* statusLine = control<QLabel>(&view, 1014);
    EXPECT_EQ(statusLine->text(), QStringLiteral("<b>100% wrong</b>"));
    EXPECT_EQ(statusLine->textFormat(), Qt::PlainText);
}

TEST(CCommView, PumpDispatchesPendingEventsButOnlyReportsKeys) {
    CCommView view;
    view.show();
    EditableList* list = control<EditableList>(&view, 112);
    list->setEnabled(true);
    list->editField()->setFocus();
    QLineEdit* edit = list->editField();

    auto postKey = [](QWidget* target, int key, const QString& text) {
        QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
    };

    bool dispatched = false;
    QTimer::singleShot(0, &view, [&] { dispatched = true; });
    postKey(edit, Qt::Key_A, QStringLiteral("a"));
    EXPECT_FALSE(view.pumpOneMessage());
    EXPECT_TRUE(dispatched);
    EXPECT_TRUE(edit->text().isEmpty()); // the key press was swallowed

    postKey(edit, Qt::Key_Escape, QString());
    EXPECT_TRUE(view.pumpOneMessage());
    EXPECT_FALSE(view.pumpOneMessage()); // nothing pending any more

    // A dialog opened by a dispatched event runs its own loop, and its keys are its own.
    QTimer::singleShot(0, &view, [&] {
        QEventLoop dialogLoop;
        postKey(edit, Qt::Key_B, QStringLiteral("b"));
        postKey(edit, Qt::Key_Escape, QString());
        QTimer::singleShot(20, &dialogLoop, &QEventLoop::quit);
        dialogLoop.exec();
    });
    EXPECT_FALSE(view.pumpOneMessage());
    EXPECT_EQ(edit->text(), QStringLiteral("b"));
    edit->clear();

    // Outside a pump the same key reaches the widget.
    postKey(edit, Qt::Key_A, QStringLiteral("a"));
    QCoreApplication::processEvents();
    EXPECT_EQ(edit->text(), QStringLiteral("a"));
}

TEST(CCommView, UserActionsRunTheHandlersOfTheirControls) {
    RunValues values;
    PanelState panelState;
    LinkState linkState;
    PanelRecords records;
    test::ScriptedLink link;
    test::ScriptedPrompts prompts;
    CCommView view;
    CommPanel panel(values, panelState, linkState, records, link, view, prompts);
    view.setPanel(&panel);
    panel.LoadCamFileAt(std::string(VISTREL_CAMFILES_DIR) + "/linescan.cam");
    view.show();

    control<QCheckBox>(&view, 1032)->click(); // "Check2", X
    control<QCheckBox>(&view, 1036)->click(); // "Check4", sent as its value alone
    EditableList* blackLevel = control<EditableList>(&view, 112);
    view.select(112, 2);
    control<QPushButton>(&view, 1048)->click(); // "ListBox3", O
    blackLevel->editField()->setText(QStringLiteral("77"));
    control<QPushButton>(&view, 1050)->click(); // "ListBox5", W: the text of its own edit field
    QComboBox* freeText = control<QComboBox>(&view, 1020);
    freeText->setEnabled(true);
    freeText->setEditText(QStringLiteral("!=3"));
    control<QPushButton>(&view, 1051)->click();
    QComboBox* taps = control<QComboBox>(&view, 1034); // "ComboBox6", Y, loaded without selection
    taps->setFocus();
    QTest::keyClick(taps, Qt::Key_Down);

    const std::vector<std::string> expected = {"X=1", "LED ON", "O=64", "W=0", "!=3", "Y=1"};
    EXPECT_EQ(link.commands, expected);
    EXPECT_EQ(freeText->count(), 1); // a successful free command can be picked again

    // Without the panel logic a click goes nowhere.
    view.setPanel(nullptr);
    control<QCheckBox>(&view, 1031)->click();
    EXPECT_EQ(link.commands.size(), expected.size());
}

} // namespace
} // namespace vistrel
