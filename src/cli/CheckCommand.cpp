#include "cli/CheckCommand.h"

#include "cli/LoadInput.h"
#include "cli/LoadProblems.h"
#include "cli/ProgressBar.h"

#include <algorithm>
#include <cstdio>

namespace brimlo::cli {

std::string CheckCommand::summary() const {
    return "check load files as saving them in the program would";
}

std::string CheckCommand::help() const {
    return "usage: brimlo-cli check FILE...\n"
           "\n"
           "Reads each load file as the program opens it and runs the checks of a save\n"
           "and the checks of every log field. Each problem is printed as\n"
           "FILE:LINE: message, with the program's own message.\n"
           "\n"
           "Exit status: 0 all files are clean, 1 some file has problems,\n"
           "2 some file cannot be read (said on standard error).\n";
}

ArgumentSpec CheckCommand::arguments() const {
    ArgumentSpec spec;
    spec.minPositionals = 1;
    return spec;
}

int CheckCommand::run(const ParsedArguments& args, Prompt&) {
    int status = kExitOk;
    ProgressBar progress("Checking", static_cast<long>(args.positionals().size()));
    for (const std::string& file : args.positionals()) {
        std::string error;
        const std::optional<LoadInput> input = ReadLoadInput(file, error);
        progress.clear();
        if (!input) {
            std::fprintf(stderr, "%s: %s\n", file.c_str(), error.c_str());
            status = kExitFailed;
            progress.step();
            continue;
        }
        const std::vector<LoadProblem> problems = FindLoadProblems(*input);
        for (const LoadProblem& problem : problems)
            std::printf("%s:%zu: %s\n", file.c_str(), problem.line, problem.message.c_str());
        if (!problems.empty())
            status = std::max<int>(status, kExitProblems);
        std::fflush(stdout);
        progress.step();
    }
    return status;
}

} // namespace brimlo::cli
