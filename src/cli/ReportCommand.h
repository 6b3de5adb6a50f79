#pragma once

#include "cli/CliCommand.h"

namespace brimlo::cli {

// report KIND ... -o OUT.pdf: the program's four reports as PDF files.
class ReportCommand : public CliCommand {
public:
    std::string name() const override { return "report"; }
    std::string summary() const override;
    std::string help() const override;
    ArgumentSpec arguments() const override;
    bool needsGui() const override { return true; }
    int run(const ParsedArguments& args, Prompt& prompt) override;
};

} // namespace brimlo::cli
