#pragma once

#include <string>

namespace vistrel {

enum class PromptButtons { Ok, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Yes, No, Cancel };

// The two system sounds the program makes: the exclamation after a panel is built or a refused
// value, the question sound of the serial link library.
enum class BeepKind { Exclamation, Question };

// Every message box and beep of the program goes through this interface, so the core can show a
// message in the middle of a flow without knowing about widgets, and tests can script the answers.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A message box captioned "Vistrel Application" with a warning icon, owned by the main window
    // once that exists. Returns the button pressed.
    virtual PromptAnswer ask(const std::string& text, PromptButtons buttons) = 0;

    // A message box with its own caption, no owner and a single OK button.
    virtual void tellWithCaption(const std::string& caption, const std::string& text) = 0;

    virtual void beep(BeepKind kind) = 0;

    void tell(const std::string& text) { ask(text, PromptButtons::Ok); }
};

} // namespace vistrel
