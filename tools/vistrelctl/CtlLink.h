#pragma once

#include "link/LinkState.h"
#include "link/ObservedLink.h"
#include "link/SystemLink.h"

#include <cstdio>
#include <string>

namespace vistrel::ctl {

// The program's link as every vistrelctl command drives it: the system link under the observing
// decorator, with the --transcript file as one observer (a JSON line per operation, flushed after
// each) and a watch for a lost line, after which nothing more may be attempted on it.
class CtlLink : private LinkObserver {
public:
    explicit CtlLink(LinkState& state);
    ~CtlLink() override;
    CtlLink(const CtlLink&) = delete;
    CtlLink& operator=(const CtlLink&) = delete;

    // Appends the transcript to `path` ("-": the error stream; empty: no transcript). False, with
    // the reason in `error`, when the file cannot be opened.
    bool openTranscript(const std::string& path, std::string& error);

    ObservedLink& link() { return m_observed; }
    // The line was lost in an operation: say so on the error stream and give the exit status for it.
    bool lost() const { return m_lost; }
    int reportLost() const;

private:
    void onLinkEvent(const LinkEvent& event) override;

    SystemLink m_system;
    ObservedLink m_observed;
    std::FILE* m_transcript = nullptr;
    bool m_ownsTranscript = false;
    bool m_lost = false;
    std::string m_lostLink;
};

} // namespace vistrel::ctl
