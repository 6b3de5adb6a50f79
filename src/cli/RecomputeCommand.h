#pragma once

#include "cli/CliCommand.h"

namespace brimlo::cli {

// recompute FILE [--method S|A] [-o OUT]: the volumes and product codes of
// every log again, as switching the load's volume method in its window
// does, and the load file written back safely.
class RecomputeCommand : public CliCommand {
public:
    std::string name() const override { return "recompute"; }
    std::string summary() const override;
    std::string help() const override;
    ArgumentSpec arguments() const override;
    int run(const ParsedArguments& args, Prompt& prompt) override;
};

} // namespace brimlo::cli
