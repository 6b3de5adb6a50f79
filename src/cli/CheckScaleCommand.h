#pragma once

#include "cli/CliCommand.h"

namespace brimlo::cli {

// check-scale ORIGINAL CHECK [--json] [-o REPORT.pdf] [--gross-tol PCT]
// [--net-tol PCT] [--defect-factor F --defect-max PCT]: a scaler's load
// against a check scaler's, with the verdict against the tolerances.
class CheckScaleCommand : public CliCommand {
public:
    std::string name() const override { return "check-scale"; }
    std::string summary() const override;
    std::string help() const override;
    ArgumentSpec arguments() const override;
    bool needsGui() const override { return true; }
    int run(const ParsedArguments& args, Prompt& prompt) override;
};

} // namespace brimlo::cli
