#pragma once

#include "support/Prompt.h"

namespace brimlo {

// Shows the program's boxes and questions as modal message boxes over the
// active window, converting the Windows-1252 texts for the toolkit.
class MessageBoxPrompt : public Prompt {
public:
    PromptAnswer show(const std::string& text, const std::string& caption, PromptIcon icon,
                      PromptButtons buttons) override;
};

} // namespace brimlo
