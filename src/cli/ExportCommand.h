#pragma once

#include "cli/CliCommand.h"

namespace brimlo::cli {

// export: the master ASCII file and the sample tables as the program
// writes them, and the master file as CSV and JSON Lines.
class ExportCommand : public CliCommand {
public:
    std::string name() const override { return "export"; }
    std::string summary() const override;
    std::string help() const override;
    ArgumentSpec arguments() const override;
    int run(const ParsedArguments& args, Prompt& prompt) override;
};

} // namespace brimlo::cli
