#include "panel/CommPanel.h"

#include "panel/PanelControls.h"
#include "panel/TextMatch.h"

namespace vistrel {

namespace {

constexpr const char* kTextTooManyCharacters = "Please enter no more than 10 characters.";

} // namespace

CommPanel::CommPanel(RunValues& values, PanelState& panel, LinkState& linkState, PanelRecords& records, Link& link,
                     PanelView& view, Prompts& prompts)
    : m_values(values), m_panel(panel), m_linkState(linkState), m_records(records), m_link(link), m_view(view),
      m_prompts(prompts) {}

bool CommPanel::readControls() {
    for (std::size_t i = 0; i < kCheckIds.size(); ++i) {
        m_CheckState[i] = m_view.checked(kCheckIds[i]) ? 1 : 0;
    }
    bool fits = true;
    for (std::size_t i = 0; i < kListIds.size() && fits; ++i) {
        // A text that is too long is taken all the same; the lists after it keep what they had.
        m_ListText[i] = m_view.editText(kListIds[i]);
        if (m_ListText[i].size() > kListTextCapacity) {
            m_prompts.tell(kTextTooManyCharacters);
            fits = false;
        }
    }
    // The drop-down lists are read whatever a list held, so a change is never sent with the index
    // the list had before.
    for (std::size_t i = 0; i < kComboIds.size(); ++i) {
        m_ComboIndex[i] = m_view.selection(kComboIds[i]);
    }
    return fits;
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
