#pragma once

#include "link/Link.h"
#include "panel/PanelView.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vistrel::test {

// The panel's widgets as plain data, with a log of what the logic did to them.
class RecordingView : public PanelView {
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
    void showReply(const std::string& text) override { replies.push_back(text); }
    void showStatusLine(const std::string& text) override { statusLines.push_back(text); }
    bool pumpOneMessage() override;

    Control& operator[](int id) { return m_controls[id]; }
    const Control& get(int id) const;

    // What each pump step does, in order; true reports Escape. With none left a step does nothing.
    std::deque<std::function<bool()>> pumpScript;
    int pumps = 0;
    std::vector<std::string> replies;
    std::vector<std::string> statusLines;

private:
    std::map<int, Control> m_controls;
};

// A link that answers from a script and records what it was asked.
class ScriptedLink : public Link {
public:
    LinkResult open() override;
    LinkResult exchange(const std::string& command, int charDelayMs) override;
    LinkResult close() override;

    // Answers to the next exchanges; with none left an exchange gives ">OK\r".
    void answer(LinkResult result) { m_answers.push_back(std::move(result)); }
    void answerReply(const std::string& reply) { answer({static_cast<int>(reply.size()), "OK", reply}); }

    std::deque<LinkResult> openResults; // with none left, open gives 1 "Connection OK"
    std::vector<std::string> commands;
    std::vector<int> delays;
    int opens = 0;
    int closes = 0;

private:
    std::deque<LinkResult> m_answers;
};

} // namespace vistrel::test
