#pragma once

#include "cli/CliCommand.h"

#include <memory>
#include <vector>

namespace brimlo::cli {

// Every subcommand, in the order the overview lists them.
std::vector<std::unique_ptr<CliCommand>> AllCommands();

} // namespace brimlo::cli
