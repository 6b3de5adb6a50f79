#pragma once

#include "cli/CliCommand.h"

namespace brimlo::cli {

// check FILE...: the save checks and every log field check on each load,
// each problem as FILE:LINE: message, in the program's words.
class CheckCommand : public CliCommand {
public:
    std::string name() const override { return "check"; }
    std::string summary() const override;
    std::string help() const override;
    ArgumentSpec arguments() const override;
    int run(const ParsedArguments& args, Prompt& prompt) override;
};

} // namespace brimlo::cli
