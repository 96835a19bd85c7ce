#include "tests/panel/PanelDoubles.h"

namespace vistrel::test {

namespace {

bool hasEditField(int id) {
    return (id >= 110 && id <= 114) || id == 1020;
}

} // namespace

void RecordingView::clearEntries(int id) {
    Control& control = m_controls[id];
    control.entries.clear();
    control.selection = -1;
    if (hasEditField(id)) {
        control.editText.clear();
    }
}

void RecordingView::insertEntry(int id, int position, const std::string& text) {
    Control& control = m_controls[id];
    if (position < 0 || position > static_cast<int>(control.entries.size())) {
        control.entries.push_back(text);
        return;
    }
    control.entries.insert(control.entries.begin() + position, text);
    if (control.selection >= position) {
        ++control.selection;
    }
}

std::string RecordingView::entryText(int id, int index) const {
    const Control& control = get(id);
    return index >= 0 && index < static_cast<int>(control.entries.size())
               ? control.entries[static_cast<std::size_t>(index)]
               : std::string();
}

void RecordingView::select(int id, int index) {
    Control& control = m_controls[id];
    control.selection = index >= 0 && index < static_cast<int>(control.entries.size()) ? index : -1;
    if (hasEditField(id)) {
        control.editText =
            control.selection >= 0 ? control.entries[static_cast<std::size_t>(control.selection)] : std::string();
    }
}

bool RecordingView::pumpOneMessage() {
    ++pumps;
    if (pumpScript.empty()) {
        return false;
    }
    const std::function<bool()> step = std::move(pumpScript.front());
    pumpScript.pop_front();
    return step();
}

const RecordingView::Control& RecordingView::get(int id) const {
    static const Control none;
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? none : found->second;
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
