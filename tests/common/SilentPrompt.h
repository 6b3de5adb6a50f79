#pragma once

#include "support/Prompt.h"

namespace brimlo::testing {

// A prompt nobody reads: each box is answered as one closed without
// choosing.
class SilentPrompt : public Prompt {
public:
    PromptAnswer show(const std::string&, const std::string&, PromptIcon,
                      PromptButtons buttons) override {
        return dismissedAnswer(buttons);
    }
};

} // namespace brimlo::testing
