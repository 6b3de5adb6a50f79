#pragma once

#include <string>
#include <vector>

namespace brimlo::cli {

// The tool from its command line to its exit status: the overview, the
// version, a subcommand's help, or the subcommand's work. Errors go to
// standard error; the exit statuses are those of CliCommand.h.
int RunCli(int argc, char** argv);

} // namespace brimlo::cli
