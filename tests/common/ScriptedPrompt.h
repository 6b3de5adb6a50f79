#pragma once

#include "support/Prompt.h"

#include <deque>
#include <string>
#include <vector>

namespace brimlo::testing {

// The prompt the test scripts its boxes on at the moment: the ScriptedPrompt
// made last, or, when none is alive, a silent one that answers as a box
// closed without choosing.
Prompt& CurrentPrompt();
void InstallPrompt(Prompt* prompt);

// A prompt sink for tests: expected boxes are queued with their answers;
// a box nobody expected fails the test. Every box shown is recorded.
// Is the current prompt for its lifetime.
class ScriptedPrompt : public Prompt {
public:
    struct Shown {
        std::string text;
        std::string caption;
        PromptIcon icon;
        PromptButtons buttons;
    };

    ScriptedPrompt();
    ~ScriptedPrompt() override;

    // The next box must show this text; it is answered with answer.
    ScriptedPrompt& expect(const std::string& text, PromptAnswer answer = PromptAnswer::Ok);
    // Accept any box without failing (answers Ok / No / Cancel).
    ScriptedPrompt& allowAny();

    PromptAnswer show(const std::string& text, const std::string& caption, PromptIcon icon,
                      PromptButtons buttons) override;

    const std::vector<Shown>& shown() const { return shown_; }
    bool allExpectedShown() const { return expected_.empty(); }
    void clear();

private:
    struct Expected {
        std::string text;
        PromptAnswer answer;
    };
    std::deque<Expected> expected_;
    std::vector<Shown> shown_;
    bool allowAny_ = false;
    Prompt* previous_ = nullptr;
};

// For a window or load made before the test scripts its boxes: hands each
// box to the current prompt when the box is shown.
class InstalledPrompt : public Prompt {
public:
    PromptAnswer show(const std::string& text, const std::string& caption, PromptIcon icon,
                      PromptButtons buttons) override {
        return CurrentPrompt().show(text, caption, icon, buttons);
    }
};

} // namespace brimlo::testing
