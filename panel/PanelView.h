#pragma once

#include <string>

namespace vistrel {

// The panel's widgets as the panel logic sees them. Controls are named by their ids (1029, 1031,
// 110, 1046, 1020, ...). Texts are bytes as the camera description gives them; the widgets decode
// them for display and hand the same bytes back for an entry that was inserted through here.
class PanelView {
public:
    virtual ~PanelView() = default;

    // Caption of a group box or a check box.
    virtual void setCaption(int id, const std::string& text) = 0;
    virtual void setEnabled(int id, bool enabled) = 0;

    // Drop-down lists, lists with an edit field, and the free programming drop-down 1020.
    virtual void clearEntries(int id) = 0;
    // Inserts at `position`; -1 appends.
    virtual void insertEntry(int id, int position, const std::string& text) = 0;
    virtual int entryCount(int id) const = 0;
    virtual std::string entryText(int id, int index) const = 0;
    // Selected index, -1 for none.
    virtual int selection(int id) const = 0;
    // Selects entry `index` (-1 clears the selection). For a list with an edit field the entry's
    // text goes into the edit field too. Raises no notification.
    virtual void select(int id, int index) = 0;
    // Text of the edit field of a list or of 1020.
    virtual std::string editText(int id) const = 0;
    virtual void setEditText(int id, const std::string& text) = 0;

    // Check boxes. Raises no notification.
    virtual bool checked(int id) const = 0;
    virtual void setChecked(int id, bool checked) = 0;

    // Message area 126 (text with CR LF line ends) and status line 1014.
    virtual void showReply(const std::string& text) = 0;
    virtual void showStatusLine(const std::string& text) = 0;

    // Dispatches at most one pending event; a key press is swallowed instead, and true is returned
    // when it was Escape.
    virtual bool pumpOneMessage() = 0;
};

} // namespace vistrel
