#pragma once

#include "link/Link.h"
#include "panel/DataPanelView.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace vistrel::test {

// The data view with a log of what was shown and a script for its pump steps.
class RecordingView : public DataPanelView {
public:
    void showReply(const std::string& text) override { replies.push_back(text); }
    void showStatusLine(const std::string& text) override { statusLines.push_back(text); }
    bool pumpOneMessage() override;

    // What each pump step does, in order; true reports Escape. With none left a step does nothing.
    std::deque<std::function<bool()>> pumpScript;
    int pumps = 0;
    std::vector<std::string> replies;
    std::vector<std::string> statusLines;
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
