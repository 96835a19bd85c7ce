#include "app/link/ResponsiveLink.h"
#include "app/link/HalvexHostHooks.h"
#include "serial/halvex32.h"
#include "support/ScriptedPrompts.h"

#include <QApplication>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <atomic>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

// The platform plugin's way in for user input: queued like a real click, and held back by an event
// loop that excludes user input. Qt installs no header for it; this is QtGui's exported declaration.
class QWindowSystemInterface {
public:
    struct DefaultDelivery {};
    template <typename Delivery = DefaultDelivery>
    static bool handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global, Qt::MouseButtons state,
                                 Qt::MouseButton button, QEvent::Type type, Qt::KeyboardModifiers mods = Qt::NoModifier,
                                 Qt::MouseEventSource source = Qt::MouseEventNotSynthesized);
};

namespace vistrel {
namespace {

using namespace std::chrono_literals;

// A camera that takes a second to answer, on whatever thread the exchange runs.
class SlowLink : public Link {
public:
    LinkResult open() override { return {1, "Connection OK", {}}; }
    LinkResult exchange(const std::string& command, int /*charDelayMs*/) override {
        const int running = ++m_running;
        maxRunning = std::max(maxRunning.load(), running);
        onGuiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
        std::this_thread::sleep_for(m_firstPause);
        if (duringExchange) {
            duringExchange();
        }
        std::this_thread::sleep_for(m_secondPause);
        commands.push_back(command);
        --m_running;
        return {static_cast<int>(command.size()) + 2, "", ">" + command + "\r"};
    }
    LinkResult close() override { return {0, "Connexion Closed", {}}; }

    bool busy() const { return m_running > 0; }
    void setPauses(std::chrono::milliseconds first, std::chrono::milliseconds second) {
        m_firstPause = first;
        m_secondPause = second;
    }

    std::function<void()> duringExchange;
    std::vector<std::string> commands;
    std::atomic<int> maxRunning{0};
    std::atomic<bool> onGuiThread{true};

private:
    std::atomic<int> m_running{0};
    std::chrono::milliseconds m_firstPause = 300ms;
    std::chrono::milliseconds m_secondPause = 700ms;
};

class PaintProbe : public QWidget {
public:
    explicit PaintProbe(const SlowLink& link) : m_link(link) { setMinimumSize(40, 40); }
    int paintsDuringExchange = 0;
    bool busyCursorShown = false;

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter(this).fillRect(rect(), Qt::white);
        if (m_link.busy()) {
            ++paintsDuringExchange;
            const QCursor* cursor = QGuiApplication::overrideCursor();
            busyCursorShown = cursor != nullptr && cursor->shape() == Qt::WaitCursor;
        }
    }

private:
    const SlowLink& m_link;
};

TEST(ResponsiveLink, WindowRepaintsDuringAnExchangeAndAClickWaitsForItsEnd) {
    SlowLink slow;
    ResponsiveLink link(slow);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* probe = new PaintProbe(slow);
    auto* button = new QPushButton(QStringLiteral("Apply"));
    layout->addWidget(probe);
    layout->addWidget(button);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    int clicks = 0;
    bool clickedDuringExchange = false;
    QObject::connect(button, &QPushButton::clicked, [&] {
        ++clicks;
        clickedDuringExchange = slow.busy();
    });
    QWindow* handle = window.windowHandle();
    const QPointF at = button->mapTo(&window, button->rect().center());
    slow.duringExchange = [&] {
        // The user clicks while the camera has not answered yet, and the window needs a repaint.
        QWindowSystemInterface::handleMouseEvent(handle, at, handle->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                                                 QEvent::MouseButtonPress);
        QWindowSystemInterface::handleMouseEvent(handle, at, handle->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                                                 QEvent::MouseButtonRelease);
        QMetaObject::invokeMethod(
            probe, [probe] { probe->update(); }, Qt::QueuedConnection);
    };

    const auto started = std::chrono::steady_clock::now();
    const LinkResult result = link.exchange("G=2", 0);
    const auto took = std::chrono::steady_clock::now() - started;

    EXPECT_EQ(result.result, 5);
    EXPECT_EQ(result.reply, ">G=2\r");
    EXPECT_GE(took, 1s); // the caller still waits for the whole exchange
    EXPECT_FALSE(slow.onGuiThread);
    EXPECT_GE(probe->paintsDuringExchange, 1);
    EXPECT_TRUE(probe->busyCursorShown);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(clicks, 0); // held back while the exchange ran

    QTest::qWait(50);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(clickedDuringExchange);
}

TEST(ResponsiveLink, OneOperationAtATimeInTheOrderStarted) {
    SlowLink slow;
    slow.setPauses(100ms, 100ms);
    ResponsiveLink link(slow);

    // A timer is no user input: it fires while the first exchange waits and starts a second one.
    LinkResult nested;
    QTimer::singleShot(20, [&] { nested = link.exchange("B=1", 0); });
    const LinkResult first = link.exchange("A=1", 0);

    EXPECT_EQ(first.reply, ">A=1\r");
    EXPECT_EQ(nested.reply, ">B=1\r");
    EXPECT_EQ(slow.commands, (std::vector<std::string>{"A=1", "B=1"}));
    EXPECT_EQ(slow.maxRunning, 1);
    EXPECT_EQ(link.open().status, "Connection OK");
    EXPECT_EQ(link.close().status, "Connexion Closed");

    // Off the GUI thread the inner link is called as it is.
    LinkResult fromWorker;
    std::thread worker([&] { fromWorker = link.exchange("C=1", 0); });
    worker.join();
    EXPECT_EQ(fromWorker.reply, ">C=1\r");
}

TEST(HalvexHostHooks, EffectsReachTheWidgetsOnlyOnTheGuiThread) {
    test::ScriptedPrompts prompts;
    {
        HalvexHostHooks hooks(prompts);
        std::thread worker([&] {
            HalvexHostHooks::busyCursor(&hooks, 1);
            HalvexHostHooks::beep(&hooks);
        });
        worker.join();
        EXPECT_TRUE(prompts.beeps.empty());
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

        QCoreApplication::processEvents();
        EXPECT_EQ(prompts.beeps, std::vector<BeepKind>{BeepKind::Question});
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);

        // An end without its start takes no one else's cursor away.
        QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
        HalvexHostHooks::busyCursor(&hooks, 0);
        HalvexHostHooks::busyCursor(&hooks, 0);
        QCoreApplication::processEvents();
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QGuiApplication::restoreOverrideCursor();
        QGuiApplication::restoreOverrideCursor();
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

        // Registered with the library: a device that is no serial port fails with its beep.
        hooks.install();
        std::thread connecting([] {
            char status[HVX_STATUS_MIN_SIZE] = {};
            EXPECT_EQ(HVX_ConnectDevice(status, "/dev/null", 9600), 0);
            EXPECT_STREQ(status, "Error Setting Communication");
        });
        connecting.join();
        QCoreApplication::processEvents();
        EXPECT_EQ(prompts.beeps.size(), 2U);
    }
    // Gone with the hooks: the library calls nothing any more.
    char status[HVX_STATUS_MIN_SIZE] = {};
    HVX_ConnectDevice(status, "/dev/null", 9600);
    QCoreApplication::processEvents();
    EXPECT_EQ(prompts.beeps.size(), 2U);
}

} // namespace
} // namespace vistrel
