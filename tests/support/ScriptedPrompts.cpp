#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

namespace vistrel::test {

PromptAnswer ScriptedPrompts::ask(const std::string& text, PromptButtons buttons) {
    shown.push_back({std::string(), text, buttons});
    if (buttons == PromptButtons::Ok) {
        return PromptAnswer::Ok;
    }
    if (m_answers.empty()) {
        ADD_FAILURE() << "unscripted question: " << text;
        return PromptAnswer::Cancel;
    }
    const PromptAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void ScriptedPrompts::tellWithCaption(const std::string& caption, const std::string& text) {
    shown.push_back({caption, text, PromptButtons::Ok});
}

std::vector<std::string> ScriptedPrompts::texts() const {
    std::vector<std::string> result;
    result.reserve(shown.size());
    for (const auto& s : shown) {
        result.push_back(s.text);
    }
    return result;
}

} // namespace vistrel::test
