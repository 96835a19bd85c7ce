#include "panel/DataPanelView.h"

#include "panel/PanelControls.h"

#include <algorithm>

namespace vistrel {

namespace {

bool hasEditField(int id) {
    return std::find(kListIds.begin(), kListIds.end(), id) != kListIds.end() || id == kFreeTextId;
}

} // namespace

void DataPanelView::clearEntries(int id) {
    Control& control = m_controls[id];
    control.entries.clear();
    control.selection = -1;
    if (hasEditField(id)) {
        control.editText.clear();
    }
}

void DataPanelView::insertEntry(int id, int position, const std::string& text) {
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

std::string DataPanelView::entryText(int id, int index) const {
    const Control& control = get(id);
    return index >= 0 && index < static_cast<int>(control.entries.size())
               ? control.entries[static_cast<std::size_t>(index)]
               : std::string();
}

void DataPanelView::select(int id, int index) {
    Control& control = m_controls[id];
    control.selection = index >= 0 && index < static_cast<int>(control.entries.size()) ? index : -1;
    if (hasEditField(id)) {
        control.editText =
            control.selection >= 0 ? control.entries[static_cast<std::size_t>(control.selection)] : std::string();
    }
}

const DataPanelView::Control& DataPanelView::get(int id) const {
    static const Control none;
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? none : found->second;
}

} // namespace vistrel
