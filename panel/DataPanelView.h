#pragma once

#include "panel/PanelView.h"

#include <map>
#include <string>
#include <vector>

namespace vistrel {

// The panel's controls as plain data, for running the panel logic without widgets (the command
// line, tests). Lists 110 to 114 and 1020 have an edit field that a selection fills.
class DataPanelView : public PanelView {
public:
    struct Control {
        std::string caption;
        bool enabled = false;
        std::vector<std::string> entries;
        int selection = -1;
        std::string editText;
        bool checked = false;
    };

    void setCaption(int id, const std::string& text) override { m_controls[id].caption = text; }
    void setEnabled(int id, bool enabled) override { m_controls[id].enabled = enabled; }
    void clearEntries(int id) override;
    void insertEntry(int id, int position, const std::string& text) override;
    int entryCount(int id) const override { return static_cast<int>(get(id).entries.size()); }
    std::string entryText(int id, int index) const override;
    int selection(int id) const override { return get(id).selection; }
    void select(int id, int index) override;
    std::string editText(int id) const override { return get(id).editText; }
    void setEditText(int id, const std::string& text) override { m_controls[id].editText = text; }
    bool checked(int id) const override { return get(id).checked; }
    void setChecked(int id, bool checked) override { m_controls[id].checked = checked; }
    void showReply(const std::string& text) override { m_reply = text; }
    void showStatusLine(const std::string& text) override { m_statusLine = text; }
    // Nothing waits in a queue here.
    bool pumpOneMessage() override { return false; }

    Control& operator[](int id) { return m_controls[id]; }
    const Control& get(int id) const;
    const std::string& reply() const { return m_reply; }
    const std::string& statusLine() const { return m_statusLine; }

private:
    std::map<int, Control> m_controls;
    std::string m_reply;
    std::string m_statusLine = "-";
};

} // namespace vistrel
