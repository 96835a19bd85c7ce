#include "camera/CamFileLoader.h"
#include "panel/CommPanel.h"
#include "panel/PanelControls.h"
#include "panel/ReplyInterpretation.h"
#include "panel/TextMatch.h"
#include "settings/ListValue.h"

#include <algorithm>

namespace vistrel {

namespace {

// The message area shows each CR of the reply followed by an LF.
std::string shownReply(const std::string& reply) {
    std::string shown;
    for (const char c : reply) {
        shown += c;
        if (c == '\r') {
            shown += '\n';
        }
    }
    return shown;
}

} // namespace

std::string panelCommand(char commandChar, const std::string& valueText) {
    return commandChar == '-' ? valueText : std::string(1, commandChar) + "=" + valueText;
}

std::string valueOfPanelCommand(char commandChar, const std::string& command) {
    return commandChar == '-' ? command : command.substr(std::min<std::size_t>(2, command.size()));
}

int CommPanel::SendCameraCommand(char commandChar, const std::string& valueText) {
    const std::string command = panelCommand(commandChar, valueText);
    m_stepUnderWay = {std::move(m_currentStep), true};
    m_currentStep.clear();
    // The links take at most 98 characters; a longer command is refused rather than cut, so the
    // camera never gets a value nobody chose.
    if (command.size() > kPanelCommandCapacity) {
        m_view.showReply({});
        m_view.showStatusLine(kTextCommandTooLong);
        m_prompts.beep(BeepKind::Exclamation);
        return 0;
    }

    const LinkResult exchanged = m_link.exchange(command, m_records.description.CharDelayMs);
    m_view.showReply(shownReply(framedReply(exchanged)));
    if (m_linkState.SettingsChanged == 0) {
        m_linkState.SettingsChanged = exchanged.result;
    }
    const ReplyInterpretation meaning = interpretReply(m_records.description, exchanged);
    if (!meaning.acknowledged) {
        m_prompts.beep(BeepKind::Exclamation);
    }
    m_view.showStatusLine(meaning.text);
    m_records.connection.ConnectionPaneText = command;
    if (exchanged.lost) {
        OnLinkLost();
    }
    return panelResult(exchanged, meaning);
}

void CommPanel::OnComboChanged(int index) {
    const auto at = static_cast<std::size_t>(index);
    if (!m_comboAccepted[at]) {
        m_comboAccepted[at] = m_ComboIndex[at];
    }
    readControls();
    const int selected = m_ComboIndex[at];
    const ComboDefinition& combo = m_records.description.combos[at];
    // Without a selection there is no value to send: nothing changes.
    if (selected < 0 || selected >= kComboSlots || combo.character.empty()) {
        return;
    }
    m_panel.ComboBox[at] = selected;
    m_currentStep = comboSection(index);
    if (SendCameraCommand(combo.character[0], combo.values[static_cast<std::size_t>(selected)]) > 0) {
        m_comboAccepted[at] = selected;
    } else {
        m_view.select(kComboIds[at], *m_comboAccepted[at]);
    }
}

void CommPanel::OnCheckClicked(int index) {
    const auto at = static_cast<std::size_t>(index);
    if (!m_checkAccepted[at]) {
        m_checkAccepted[at] = m_CheckState[at];
    }
    readControls();
    const CheckDefinition& check = m_records.description.checks[at];
    if (check.character.empty()) {
        return;
    }
    const int state = m_CheckState[at] != 0 ? 1 : 0;
    m_panel.Check[at] = state;
    m_currentStep = checkSection(index);
    if (SendCameraCommand(check.character[0], state == 1 ? check.value2 : check.value1) > 0) {
        m_checkAccepted[at] = state;
    } else {
        m_view.setChecked(kCheckIds[at], *m_checkAccepted[at] != 0);
    }
}

void CommPanel::OnApplyList(int index) {
    const auto at = static_cast<std::size_t>(index);
    const int id = kListIds[at];
    if (!m_listAccepted[at]) {
        m_listAccepted[at] = m_view.selection(id);
    }
    readControls();
    const ListDefinition& list = m_records.description.lists[at];
    if (list.character.empty()) {
        return;
    }
    // Too long for the field: said once, nothing sent, and the list goes back to its last accepted value.
    if (m_listTooLong[at]) {
        m_prompts.tell(kTextTooManyCharacters);
        m_view.select(id, *m_listAccepted[at]);
        return;
    }
    m_currentStep = listSection(index);
    if (SendCameraCommand(list.character[0], m_ListText[at]) > 0) {
        // A number beyond the int range is sent but never kept.
        if (std::optional<std::string> kept = listStateText(m_ListText[at])) {
            m_panel.ListBox[at] = std::move(*kept);
        }
        m_listAccepted[at] = m_view.selection(id);
    } else {
        m_view.select(id, *m_listAccepted[at]);
    }
}

void CommPanel::OnSendFreeText() {
    std::string text = m_view.editText(kFreeTextId);
    if (text.size() > kFreeTextCapacity) {
        text.resize(kFreeTextCapacity);
    }
    if (text.empty()) {
        return;
    }
    m_currentStep = "free";
    if (SendCameraCommand('-', text) > 0) {
        m_view.insertEntry(kFreeTextId, -1, text);
    }
}

void CommPanel::ApplyPanel() {
    if (m_records.connection.CameraConnected == 0) {
        return;
    }
    const bool wasRunning = m_records.SequenceRunning;
    m_records.SequenceRunning = true;
    const auto done = [&] { m_records.SequenceRunning = wasRunning; };
    const CameraDescription& description = m_records.description;
    for (int i = 0; i < kComboCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (!description.combos[at].character.empty()) {
            const int wanted = m_panel.ComboBox[at];
            // An index beyond the entries leaves the list without a selection.
            m_view.select(kComboIds[at], wanted >= 0 && wanted < m_view.entryCount(kComboIds[at]) ? wanted : -1);
            OnComboChanged(i);
        }
        if (linkGone() || pumpReportsEscape()) {
            return done();
        }
    }
    for (int i = 0; i < kCheckCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (!description.checks[at].character.empty()) {
            m_view.setChecked(kCheckIds[at], m_panel.Check[at] != 0);
            OnCheckClicked(i);
        }
        if (linkGone() || pumpReportsEscape()) {
            return done();
        }
    }
    for (int i = 0; i < kListCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (!description.lists[at].character.empty()) {
            const std::string saved = m_panel.ListBox[at];
            // Without a value the list keeps what it shows.
            if (!saved.empty()) {
                const int id = kListIds[at];
                int found = findListEntry(m_view.entryCount(id), saved, [&](int n) { return m_view.entryText(id, n); });
                if (found < 0) {
                    m_view.insertEntry(id, 0, saved);
                    found = 0;
                }
                m_view.select(id, found);
            }
            OnApplyList(i);
        }
        if (linkGone() || (i < kListCount - 1 && pumpReportsEscape())) {
            return done();
        }
    }
    m_records.PanelApplied = 1;
    m_records.RefreshEnabled = 1;
    m_view.setEnabled(kFreeTextId, true);
    done();
}

} // namespace vistrel
