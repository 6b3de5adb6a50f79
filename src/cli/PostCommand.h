#pragma once

#include "cli/CliCommand.h"

namespace brimlo::cli {

// post FILE... [--data-dir DIR]: each load posted to the master file as
// saving it in the program does, saying whether it replaced a record.
class PostCommand : public CliCommand {
public:
    std::string name() const override { return "post"; }
    std::string summary() const override;
    std::string help() const override;
    ArgumentSpec arguments() const override;
    int run(const ParsedArguments& args, Prompt& prompt) override;
};

} // namespace brimlo::cli
