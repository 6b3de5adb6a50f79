#pragma once

#include "cli/CliCommand.h"

namespace brimlo::cli {

// master stats [--json]: how many master records, the dates they span and
// their totals.
class MasterStatsCommand : public CliCommand {
public:
    std::string name() const override { return "master"; }
    std::string summary() const override;
    std::string help() const override;
    ArgumentSpec arguments() const override;
    int run(const ParsedArguments& args, Prompt& prompt) override;
};

} // namespace brimlo::cli
