#include "panel/CommPanel.h"

#include "panel/PanelControls.h"
#include "panel/TextMatch.h"

namespace vistrel {

CommPanel::CommPanel(RunValues& values, PanelState& panel, LinkState& linkState, PanelRecords& records, Link& link,
                     PanelView& view, Prompts& prompts)
    : m_values(values), m_panel(panel), m_linkState(linkState), m_records(records), m_link(link), m_view(view),
      m_prompts(prompts) {}

void CommPanel::readControls() {
    for (std::size_t i = 0; i < kCheckIds.size(); ++i) {
        m_CheckState[i] = m_view.checked(kCheckIds[i]) ? 1 : 0;
    }
    // Every control is read every time. A list text too long for its field is not taken: that list
    // keeps the text it had, and only its own Apply says so.
    for (std::size_t i = 0; i < kListIds.size(); ++i) {
        std::string text = m_view.editText(kListIds[i]);
        m_listTooLong[i] = text.size() > kListTextCapacity;
        if (!m_listTooLong[i]) {
            m_ListText[i] = std::move(text);
        }
    }
    for (std::size_t i = 0; i < kComboIds.size(); ++i) {
        m_ComboIndex[i] = m_view.selection(kComboIds[i]);
    }
}

void CommPanel::writeControls() {
    for (std::size_t i = 0; i < kCheckIds.size(); ++i) {
        m_view.setChecked(kCheckIds[i], m_CheckState[i] != 0);
    }
    for (std::size_t i = 0; i < kListIds.size(); ++i) {
        const int id = kListIds[i];
        const int count = m_view.entryCount(id);
        int found = -1;
        for (int n = 0; n < count && found < 0; ++n) {
            if (startsWithIgnoringCase(m_view.entryText(id, n), m_ListText[i])) {
                found = n;
            }
        }
        if (found >= 0) {
            m_view.select(id, found);
        } else {
            m_view.setEditText(id, m_ListText[i]);
        }
    }
    for (std::size_t i = 0; i < kComboIds.size(); ++i) {
        m_view.select(kComboIds[i], m_ComboIndex[i]);
    }
}

bool CommPanel::pumpReportsEscape() {
    return m_view.pumpOneMessage();
}

} // namespace vistrel
