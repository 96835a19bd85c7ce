#include "tools/vistrelctl/CtlLink.h"

#include "link/TranscriptJson.h"
#include "tools/vistrelctl/LinkOptions.h"

#include <cerrno>
#include <cstring>

namespace vistrel::ctl {

CtlLink::CtlLink(LinkState& state) : m_system(state), m_observed(m_system, state) {
    m_observed.addObserver(*this);
}

CtlLink::~CtlLink() {
    if (m_ownsTranscript) {
        std::fclose(m_transcript);
    }
}

bool CtlLink::openTranscript(const std::string& path, std::string& error) {
    if (path.empty()) {
        return true;
    }
    if (path == "-") {
        m_transcript = stderr;
        return true;
    }
    m_transcript = std::fopen(path.c_str(), "a");
    if (m_transcript == nullptr) {
        error = "cannot open the transcript " + path + ": " + std::strerror(errno);
        return false;
    }
    m_ownsTranscript = true;
    return true;
}

void CtlLink::onLinkEvent(const LinkEvent& event) {
    if (event.op == LinkOp::Lost) {
        m_lost = true;
        m_lostLink = event.link;
    }
    if (m_transcript != nullptr) {
        const std::string line = transcriptJsonLine(event) + "\n";
        std::fwrite(line.data(), 1, line.size(), m_transcript);
        std::fflush(m_transcript);
    }
}

int CtlLink::reportLost() const {
    std::fprintf(stderr, "vistrelctl: %s: %s\n", m_lostLink.c_str(), kTextConnexionLost);
    return kLinkExitNoLink;
}

} // namespace vistrel::ctl
