#pragma once

#include "link/Link.h"
#include "link/LinkState.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace vistrel {

enum class LinkOp { Open, Exchange, Close, Lost };

// "open", "exchange", "close", "lost".
const char* linkOpName(LinkOp op);

// One operation of a link as an observer hears it.
struct LinkEvent {
    std::int64_t startUtcMs = 0;         // wall clock when it started, milliseconds since 1970 (UTC)
    std::chrono::nanoseconds duration{}; // how long it took, on the monotonic clock
    LinkOp op = LinkOp::Exchange;
    std::string link; // the link in words (linkInWords)
    bool hasCommand = false;
    std::string command; // the bytes sent, without the closing CR
    bool hasReply = false;
    std::string reply; // the reply bytes as the link handed them back
    int result = 0;
    std::string status;
};

class LinkObserver {
public:
    virtual ~LinkObserver() = default;
    // Called on the thread that called the link, after the operation ended.
    virtual void onLinkEvent(const LinkEvent& event) = 0;
};

// A link whose every open, exchange and close is handed to its observers, followed by a "lost"
// event whenever the inner link reports the line lost (in an operation or a check). Otherwise it
// is the inner link: same results, same order. Observers must outlive their registration.
class ObservedLink : public Link {
public:
    // `state` names the link in words at each operation.
    ObservedLink(Link& inner, const LinkState& state) : m_inner(inner), m_state(state) {}

    void addObserver(LinkObserver& observer) { m_observers.push_back(&observer); }
    void removeObserver(LinkObserver& observer);

    LinkResult open() override;
    LinkResult exchange(const std::string& command, int charDelayMs) override;
    LinkResult close() override;
    // Passes to the inner link, unless an operation of this link is under way (a check must
    // never run beside it): then it reports alive without asking.
    LinkResult checkLink() override;

    // An operation is under way (the caller is waiting in it, for instance pumping events).
    bool busy() const { return m_busy > 0; }

private:
    template <typename Operation>
    LinkResult observe(LinkOp op, const std::string* command, bool withReply, Operation operation);
    void tell(const LinkEvent& event);
    void tellLost(const LinkResult& result);

    Link& m_inner;
    const LinkState& m_state;
    std::vector<LinkObserver*> m_observers;
    int m_busy = 0;
};

} // namespace vistrel
