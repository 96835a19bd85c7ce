#include "app/AboutControlIds.h"
#include "app/CAboutDialog.h"
#include "app/CMainFrame.h"
#include "app/CVistrelApp.h"
#include "app/CommandIds.h"
#include "support/TempDir.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace vistrel {
namespace {

constexpr std::uint64_t kGiB = 1024ULL * 1024 * 1024;

// A rectangle of the dialog template in pixels: each edge mapped and rounded.
QRect fromDialogUnits(int x, int y, int width, int height) {
    const auto across = [](int units) { return static_cast<int>(std::lround(units * 1.5)); };
    const auto down = [](int units) { return static_cast<int>(std::lround(units * 1.625)); };
    return {QPoint(across(x), down(y)), QPoint(across(x + width) - 1, down(y + height) - 1)};
}

QLabel* labelWithText(const QDialog& dialog, const QString& text) {
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->text() == text) {
            return label;
        }
    }
    return nullptr;
}

TEST(AboutDialog, ShowsTitleVersionAndSystemLineOnTheTemplateLayout) {
    int memoryQueries = 0;
    const SystemQueries queries{[&] {
                                    ++memoryQueries;
                                    return std::uint64_t{134217728};
                                },
                                [] { return std::optional<std::uint64_t>(5 * kGiB); }};
    CAboutDialog dialog(queries);
    EXPECT_EQ(memoryQueries, 1);

    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About Vistrel  32bit"));
    EXPECT_EQ(dialog.size(), QSize(330, 171));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());

    auto* version = dialog.findChild<QLabel*>(QString::number(kIdAboutVersion));
    auto* system = dialog.findChild<QLabel*>(QString::number(kIdAboutSystem));
    auto* ok = dialog.findChild<QPushButton*>(QString::number(kIdAboutOk));
    auto* bitmap = dialog.findChild<QPushButton*>(QString::number(kIdAboutBitmap));
    ASSERT_TRUE(version && system && ok && bitmap);
    EXPECT_EQ(version->text(), QStringLiteral("VISTREL 32bit version  6.5.0 Beta"));
    EXPECT_EQ(system->text(), QStringLiteral("Physical Memory : 131072 KB  -  Disk Space : 5120 MB Free"));
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_TRUE(ok->isDefault());
    EXPECT_FALSE(bitmap->icon().pixmap(QSize(64, 64)).isNull());
    EXPECT_TRUE(bitmap->text().isEmpty());

    QLabel* interface = labelWithText(dialog, QStringLiteral("Camera  RS232  Interface"));
    ASSERT_NE(interface, nullptr);
    EXPECT_EQ(version->geometry(), fromDialogUnits(51, 9, 124, 12));
    EXPECT_EQ(interface->geometry(), fromDialogUnits(60, 25, 107, 12));
    EXPECT_EQ(system->geometry(), fromDialogUnits(8, 84, 204, 16));
    EXPECT_EQ(ok->geometry(), fromDialogUnits(180, 8, 32, 28));
    EXPECT_EQ(bitmap->geometry(), fromDialogUnits(4, 4, 44, 40));
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        EXPECT_TRUE(label->alignment() & Qt::AlignHCenter) << label->text().toStdString();
    }
    // Five static texts; the two maker lines carry texts of their own.
    EXPECT_EQ(dialog.findChildren<QLabel*>().size(), 5);
    auto* rule = dialog.findChild<QFrame*>(QStringLiteral("ruleSystem"));
    ASSERT_NE(rule, nullptr);
    EXPECT_EQ(rule->geometry(), fromDialogUnits(9, 76, 200, 1));

    // A click on the image does nothing; Escape ends the box.
    dialog.show();
    bitmap->click();
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(AboutDialog, FailedDiskQueryLeavesNothingAfterTheDash) {
    CAboutDialog dialog({[] { return std::uint64_t{1048575}; }, [] { return std::optional<std::uint64_t>(); }});
    auto* system = dialog.findChild<QLabel*>(QString::number(kIdAboutSystem));
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(system->text(), QStringLiteral("Physical Memory : 1023 KB  -  "));
}

TEST(AboutDialog, BothCommandsOpenAModalBoxOverTheMainFrame) {
    const test::TempDir dir;
    CVistrelApp app({}, dir.path() + "vistrel", dir.path() + "applications");
    ASSERT_TRUE(app.InitInstance());
    CMainFrame* frame = app.mainFrame();

    std::vector<QString> seen;
    for (const int command : {kCmdAboutBox, kCmdAppAbout}) {
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            auto* box = qobject_cast<CAboutDialog*>(modal);
            if (box != nullptr) {
                seen.push_back(box->windowTitle());
                EXPECT_EQ(box->parentWidget(), frame);
                box->findChild<QPushButton*>(QString::number(kIdAboutOk))->click();
            } else if (modal != nullptr) {
                modal->close();
            }
        });
        frame->action(command)->trigger();
    }
    EXPECT_EQ(seen, std::vector<QString>(2, QStringLiteral("About Vistrel  32bit")));
    EXPECT_EQ(app.ExitInstance(0), 0);
}

} // namespace
} // namespace vistrel
