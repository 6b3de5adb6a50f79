#include "cli/CliPrompt.h"

#include <utility>

namespace brimlo::cli {

PromptAnswer CliPrompt::show(const std::string& text, const std::string&, PromptIcon,
                             PromptButtons buttons) {
    texts_.push_back(text);
    return dismissedAnswer(buttons);
}

std::vector<std::string> CliPrompt::take() {
    return std::exchange(texts_, {});
}

} // namespace brimlo::cli
