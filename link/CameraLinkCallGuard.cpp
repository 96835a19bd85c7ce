#include "link/CameraLinkCallGuard.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace vistrel {

struct CameraLinkCallGuard::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    std::function<void(CameraLinkScratch&)> call;
    CameraLinkScratch scratch;
    bool pending = false;
    bool done = false;
    bool quit = false;
};

CameraLinkCallGuard::CameraLinkCallGuard() = default;

CameraLinkCallGuard::~CameraLinkCallGuard() {
    renew();
}

void CameraLinkCallGuard::renew() {
    if (!m_worker.joinable()) {
        m_stuck = false;
        return;
    }
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->quit = true;
    }
    m_shared->changed.notify_all();
    // A stuck call may never come back: its thread keeps the shared part alive and ends after it.
    if (m_stuck) {
        m_worker.detach();
    } else {
        m_worker.join();
    }
    m_shared.reset();
    m_stuck = false;
}

bool CameraLinkCallGuard::run(const std::function<void(CameraLinkScratch&)>& call, unsigned int timeoutMs,
                              CameraLinkScratch& scratch) {
    if (m_stuck) {
        return false;
    }
    if (!m_worker.joinable()) {
        m_shared = std::make_shared<Shared>();
        m_worker = std::thread([shared = m_shared] {
            std::unique_lock lock(shared->mutex);
            for (;;) {
                shared->changed.wait(lock, [&] { return shared->pending || shared->quit; });
                if (!shared->pending) {
                    return;
                }
                const std::function<void(CameraLinkScratch&)> work = std::move(shared->call);
                CameraLinkScratch local = shared->scratch;
                lock.unlock();
                work(local);
                lock.lock();
                shared->scratch = local;
                shared->pending = false;
                shared->done = true;
                shared->changed.notify_all();
            }
        });
    }
    std::unique_lock lock(m_shared->mutex);
    m_shared->call = call;
    m_shared->scratch = scratch;
    m_shared->pending = true;
    m_shared->done = false;
    m_shared->changed.notify_all();
    const auto budget = std::chrono::milliseconds(timeoutMs) + std::chrono::milliseconds(kClStuckGraceMs);
    if (!m_shared->changed.wait_for(lock, budget, [&] { return m_shared->done; })) {
        m_stuck = true;
        return false;
    }
    scratch = m_shared->scratch;
    return true;
}

} // namespace vistrel
