#pragma once

#include "support/Prompt.h"

#include <string>
#include <vector>

namespace brimlo::cli {

// The tool's answer to the boxes of the library code: nobody is there to
// read them, so each text is kept for the command to print, and every
// question gets the answer of a box closed without choosing (No for the
// conversion of an Alberta load: the file is taken as it stands).
// The tool's run owns one and hands it to the command; a step that needs
// the texts of its own boxes makes one of its own.
class CliPrompt : public Prompt {
public:
    CliPrompt() = default;
    CliPrompt(const CliPrompt&) = delete;
    CliPrompt& operator=(const CliPrompt&) = delete;

    PromptAnswer show(const std::string& text, const std::string& caption, PromptIcon icon,
                      PromptButtons buttons) override;

    // The texts shown since the last take, oldest first; forgets them.
    std::vector<std::string> take();

private:
    std::vector<std::string> texts_;
};

} // namespace brimlo::cli
