#include "tests/panel/PanelDoubles.h"

namespace vistrel::test {

bool RecordingView::pumpOneMessage() {
    ++pumps;
    if (pumpScript.empty()) {
        return false;
    }
    const std::function<bool()> step = std::move(pumpScript.front());
    pumpScript.pop_front();
    return step();
}

LinkResult ScriptedLink::open() {
    ++opens;
    if (openResults.empty()) {
        return {1, "Connection OK", {}};
    }
    LinkResult result = openResults.front();
    openResults.pop_front();
    return result;
}

LinkResult ScriptedLink::exchange(const std::string& command, int charDelayMs) {
    commands.push_back(command);
    delays.push_back(charDelayMs);
    if (m_answers.empty()) {
        return {4, "Sending & Receipt OK", ">OK\r"};
    }
    LinkResult result = m_answers.front();
    m_answers.pop_front();
    return result;
}

LinkResult ScriptedLink::close() {
    ++closes;
    return {1, "Connexion Closed", {}};
}

} // namespace vistrel::test
