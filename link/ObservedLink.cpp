#include "link/ObservedLink.h"

#include "link/LinkWords.h"

#include <algorithm>

namespace vistrel {

namespace {

std::int64_t utcMsNow() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace

const char* linkOpName(LinkOp op) {
    switch (op) {
    case LinkOp::Open:
        return "open";
    case LinkOp::Exchange:
        return "exchange";
    case LinkOp::Close:
        return "close";
    case LinkOp::Lost:
        return "lost";
    }
    return "exchange";
}

void ObservedLink::removeObserver(LinkObserver& observer) {
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), &observer), m_observers.end());
}

void ObservedLink::tell(const LinkEvent& event) {
    // A copy: an observer may register or remove another while it is told.
    const std::vector<LinkObserver*> observers = m_observers;
    for (LinkObserver* observer : observers) {
        observer->onLinkEvent(event);
    }
}

void ObservedLink::tellLost(const LinkResult& result) {
    LinkEvent event;
    event.startUtcMs = utcMsNow();
    event.op = LinkOp::Lost;
    event.link = linkInWords(m_state);
    event.result = -1;
    event.status = result.status.empty() ? kTextConnexionLost : result.status;
    tell(event);
}

template <typename Operation>
LinkResult ObservedLink::observe(LinkOp op, const std::string* command, bool withReply, Operation operation) {
    const auto runMarkedBusy = [&] {
        // A count: an operation may start inside another while its caller pumps events.
        ++m_busy;
        struct Done {
            int& busy;
            ~Done() { --busy; }
        } done{m_busy};
        return operation();
    };
    if (m_observers.empty()) {
        return runMarkedBusy();
    }
    LinkEvent event;
    event.startUtcMs = utcMsNow();
    event.link = linkInWords(m_state);
    const auto start = std::chrono::steady_clock::now();
    LinkResult out = runMarkedBusy();
    event.duration = std::chrono::steady_clock::now() - start;
    event.op = op;
    if (command != nullptr) {
        event.hasCommand = true;
        event.command = *command;
    }
    if (withReply) {
        event.hasReply = true;
        event.reply = out.reply;
    }
    event.result = out.result;
    event.status = out.status;
    tell(event);
    if (out.lost) {
        tellLost(out);
    }
    return out;
}

LinkResult ObservedLink::open() {
    return observe(LinkOp::Open, nullptr, false, [&] { return m_inner.open(); });
}

LinkResult ObservedLink::exchange(const std::string& command, int charDelayMs) {
    return observe(LinkOp::Exchange, &command, true, [&] { return m_inner.exchange(command, charDelayMs); });
}

LinkResult ObservedLink::close() {
    return observe(LinkOp::Close, nullptr, false, [&] { return m_inner.close(); });
}

LinkResult ObservedLink::checkLink() {
    if (m_busy > 0) {
        return {1, {}, {}, false};
    }
    LinkResult out = m_inner.checkLink();
    if (out.lost) {
        tellLost(out);
    }
    return out;
}

} // namespace vistrel
