#include "cli/CliCommands.h"

#include "cli/CheckCommand.h"
#include "cli/ExportCommand.h"
#include "cli/MasterStatsCommand.h"
#include "cli/PostCommand.h"
#include "cli/RecomputeCommand.h"
#include "cli/ReportCommand.h"
#include "cli/ShowCommand.h"

namespace brimlo::cli {

namespace {

template <class... Command> std::vector<std::unique_ptr<CliCommand>> Make() {
    std::vector<std::unique_ptr<CliCommand>> commands;
    (commands.push_back(std::make_unique<Command>()), ...);
    return commands;
}

} // namespace

// A new subcommand is registered here, one line.
std::vector<std::unique_ptr<CliCommand>> AllCommands() {
    // clang-format off
    return Make<CheckCommand,
                ShowCommand,
                RecomputeCommand,
                PostCommand,
                ExportCommand,
                ReportCommand,
                MasterStatsCommand>();
    // clang-format on
}

} // namespace brimlo::cli
