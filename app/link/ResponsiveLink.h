#pragma once

#include "link/Link.h"

#include <atomic>
#include <mutex>

namespace vistrel {

// A link that keeps the window alive while the camera is slow to answer: the inner link's
// operation runs on a worker thread while the GUI thread waits in a local event loop that repaints
// but holds user input back until the operation has ended. Callers see the same blocking call,
// one operation at a time, in the same order. Off the GUI thread it simply calls the inner link.
class ResponsiveLink : public Link {
public:
    explicit ResponsiveLink(Link& inner) : m_inner(inner) {}

    LinkResult open() override;
    LinkResult exchange(const std::string& command, int charDelayMs) override;
    LinkResult close() override;
    // Asked at once on the calling thread (it never blocks); alive while an operation runs aside.
    LinkResult checkLink() override;

    // The program is ending: every later operation is refused ("No Connexion") without reaching the
    // inner link; one that runs now finishes.
    void refuseFromNowOn() { m_refusing = true; }

private:
    template <typename Operation> LinkResult runAside(Operation operation);

    Link& m_inner;
    std::mutex m_oneAtATime;
    std::atomic<bool> m_refusing = false;
};

} // namespace vistrel
