#include "app/link/ResponsiveLink.h"

#include "app/link/BusyCursor.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <exception>
#include <thread>

namespace vistrel {

namespace {

bool onGuiThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

} // namespace

template <typename Operation> LinkResult ResponsiveLink::runAside(Operation operation) {
    if (m_refusing) {
        return LinkResult{0, "No Connexion", {}};
    }
    if (!onGuiThread()) {
        const std::lock_guard lock(m_oneAtATime);
        return operation();
    }

    const BusyCursor::Scope busy;
    QEventLoop waiting;
    LinkResult result;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            // An operation started by an event dispatched while another waits runs after it.
            const std::lock_guard lock(m_oneAtATime);
            result = operation();
        } catch (...) {
            failure = std::current_exception();
        }
        // Queued, so a quit that comes before the loop has started still ends it.
        QMetaObject::invokeMethod(&waiting, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // Repaints and timers run meanwhile; clicks and keys stay queued until the handler that
    // started this operation has run to its end.
    waiting.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    if (failure) {
        std::rethrow_exception(failure);
    }
    return result;
}

LinkResult ResponsiveLink::open() {
    return runAside([this] { return m_inner.open(); });
}

LinkResult ResponsiveLink::exchange(const std::string& command, int charDelayMs) {
    return runAside([this, &command, charDelayMs] { return m_inner.exchange(command, charDelayMs); });
}

LinkResult ResponsiveLink::checkLink() {
    const std::unique_lock lock(m_oneAtATime, std::try_to_lock);
    if (!lock.owns_lock()) {
        return {1, {}, {}, false};
    }
    return m_inner.checkLink();
}

LinkResult ResponsiveLink::close() {
    return runAside([this] { return m_inner.close(); });
}

} // namespace vistrel
