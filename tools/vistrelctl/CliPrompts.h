#pragma once

#include "platform/Prompts.h"

#include <cstdio>

namespace vistrel::ctl {

// Message boxes of the core, on a command line: each message is one line on the error stream, and
// a question is answered with its first choice.
class CliPrompts : public Prompts {
public:
    PromptAnswer ask(const std::string& text, PromptButtons buttons) override {
        std::fprintf(stderr, "vistrelctl: %s\n", text.c_str());
        return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::Yes;
    }
    void tellWithCaption(const std::string& caption, const std::string& text) override {
        std::fprintf(stderr, "vistrelctl: %s: %s\n", caption.c_str(), text.c_str());
    }
    void beep(BeepKind) override {}
};

} // namespace vistrel::ctl
