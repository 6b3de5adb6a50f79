#include "common/ScriptedPrompt.h"

#include "common/SilentPrompt.h"

#include <gtest/gtest.h>

namespace brimlo::testing {

namespace {

Prompt* installed = nullptr;

} // namespace

Prompt& CurrentPrompt() {
    static SilentPrompt silent;
    return installed ? *installed : silent;
}

void InstallPrompt(Prompt* prompt) {
    installed = prompt;
}

ScriptedPrompt::ScriptedPrompt() : previous_(&CurrentPrompt()) {
    InstallPrompt(this);
}

ScriptedPrompt::~ScriptedPrompt() {
    EXPECT_TRUE(expected_.empty()) << "expected box not shown: " << expected_.front().text;
    InstallPrompt(previous_);
}

ScriptedPrompt& ScriptedPrompt::expect(const std::string& text, PromptAnswer answer) {
    expected_.push_back({text, answer});
    return *this;
}

ScriptedPrompt& ScriptedPrompt::allowAny() {
    allowAny_ = true;
    return *this;
}

void ScriptedPrompt::clear() {
    expected_.clear();
    shown_.clear();
}

PromptAnswer ScriptedPrompt::show(const std::string& text, const std::string& caption,
                                  PromptIcon icon, PromptButtons buttons) {
    shown_.push_back({text, caption, icon, buttons});
    if (!expected_.empty()) {
        Expected next = expected_.front();
        expected_.pop_front();
        EXPECT_EQ(next.text, text) << "caption: " << caption;
        return next.answer;
    }
    if (!allowAny_)
        ADD_FAILURE() << "unexpected box: [" << caption << "] " << text;
    return dismissedAnswer(buttons);
}

} // namespace brimlo::testing
