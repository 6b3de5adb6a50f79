#pragma once

#include <string>

namespace brimlo {

enum class PromptIcon { Error, Warning, Information };
enum class PromptButtons { Ok, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Yes, No, Cancel };

// The one way rules, load and master logic talk to the user. The start-up
// makes the run's prompt (message boxes) and hands it down: loads get it in
// their environment, the windows from the main window, the rules' checks
// as a parameter. Tests pass a scripted one that answers and fails on
// prompts nobody expected. Texts are Windows-1252.
class Prompt {
public:
    virtual ~Prompt() = default;
    virtual PromptAnswer show(const std::string& text, const std::string& caption, PromptIcon icon,
                              PromptButtons buttons) = 0;

    // Modal box with OK.
    void message(const std::string& text, const std::string& caption,
                 PromptIcon icon = PromptIcon::Error);
    // Modal question with the warning icon.
    PromptAnswer ask(const std::string& text, const std::string& caption,
                     PromptButtons buttons = PromptButtons::YesNo);
    // The application error box: caption "BRIMLO", error icon, full-stop rule.
    void error(const std::string& text);

    // What closing a box without choosing answers: Ok, No or Cancel.
    static PromptAnswer dismissedAnswer(PromptButtons buttons);
};

} // namespace brimlo
