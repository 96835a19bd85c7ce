#pragma once

#include "platform/Prompts.h"

#include <deque>
#include <string>
#include <vector>

namespace vistrel::test {

// Prompts for tests: records every message and beep, answers questions from a script.
class ScriptedPrompts : public Prompts {
public:
    struct Shown {
        std::string caption; // empty for the application's own caption
        std::string text;
        PromptButtons buttons;
    };

    // Answers given to the next questions, in order. With the script empty, a question fails the test.
    void script(std::initializer_list<PromptAnswer> answers) { m_answers.insert(m_answers.end(), answers); }

    PromptAnswer ask(const std::string& text, PromptButtons buttons) override;
    void tellWithCaption(const std::string& caption, const std::string& text) override;
    void beep(BeepKind kind) override { beeps.push_back(kind); }

    std::vector<std::string> texts() const;

    std::vector<Shown> shown;
    std::vector<BeepKind> beeps;

private:
    std::deque<PromptAnswer> m_answers;
};

} // namespace vistrel::test
