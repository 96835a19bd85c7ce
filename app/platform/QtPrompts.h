#pragma once

#include "platform/Prompts.h"

class QWidget;
class QString;

namespace vistrel {

// Message boxes and beeps on screen.
class QtPrompts : public Prompts {
public:
    // The owner of later boxes; null until the main window exists.
    void setOwner(QWidget* owner) { m_owner = owner; }
    // Once the user has chosen to quit, nothing may hold the end up: boxes are no longer shown (a
    // question gets its safe answer) and nothing beeps.
    void silence() { m_silent = true; }

    PromptAnswer ask(const std::string& text, PromptButtons buttons) override;
    void tellWithCaption(const std::string& caption, const std::string& text) override;
    void beep(BeepKind kind) override;

private:
    QWidget* m_owner = nullptr;
    bool m_silent = false;
};

// Texts from files and from the camera are bytes: shown as UTF-8 when they are, else as Latin-1.
QString displayText(const std::string& bytes);

} // namespace vistrel
