#include "support/Prompt.h"

#include "support/BrimloError.h"

namespace brimlo {

namespace {

class SilentPrompt : public Prompt {
public:
    PromptAnswer show(const std::string&, const std::string&, PromptIcon,
                      PromptButtons buttons) override {
        return dismissedAnswer(buttons);
    }
};

SilentPrompt silentPrompt;
Prompt* installed = nullptr;

} // namespace

void Prompt::message(const std::string& text, const std::string& caption, PromptIcon icon) {
    show(text, caption, icon, PromptButtons::Ok);
}

PromptAnswer Prompt::ask(const std::string& text, const std::string& caption,
                         PromptButtons buttons) {
    return show(text, caption, PromptIcon::Warning, buttons);
}

void Prompt::error(const std::string& text) {
    show(WithFullStop(text), "BRIMLO", PromptIcon::Error, PromptButtons::Ok);
}

PromptAnswer Prompt::dismissedAnswer(PromptButtons buttons) {
    switch (buttons) {
    case PromptButtons::Ok:
        return PromptAnswer::Ok;
    case PromptButtons::YesNo:
        return PromptAnswer::No;
    case PromptButtons::YesNoCancel:
        return PromptAnswer::Cancel;
    }
    return PromptAnswer::Cancel;
}

Prompt& Prompt::current() {
    return installed ? *installed : silentPrompt;
}

void Prompt::install(Prompt* prompt) {
    installed = prompt;
}

} // namespace brimlo
