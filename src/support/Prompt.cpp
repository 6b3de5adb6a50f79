#include "support/Prompt.h"

#include "support/BrimloError.h"

namespace brimlo {

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

} // namespace brimlo
