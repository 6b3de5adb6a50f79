#pragma once

#include "cli/CliCommand.h"

namespace brimlo::cli {

// show FILE [--json]: a load as the program computes it: header, logs with
// their volumes and product codes, the Sp-Cd-Pr tally and the load summary.
class ShowCommand : public CliCommand {
public:
    std::string name() const override { return "show"; }
    std::string summary() const override;
    std::string help() const override;
    ArgumentSpec arguments() const override;
    int run(const ParsedArguments& args, Prompt& prompt) override;
};

} // namespace brimlo::cli
