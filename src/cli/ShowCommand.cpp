#include "cli/ShowCommand.h"

#include "cli/LoadInput.h"
#include "cli/LoadReport.h"

#include <cstdio>

namespace brimlo::cli {

std::string ShowCommand::summary() const {
    return "show a load with its volumes, tally and summary";
}

std::string ShowCommand::help() const {
    return "usage: brimlo-cli show FILE [--json]\n"
           "\n"
           "Prints the header of a load file, every log with its gross, cull and net\n"
           "volume (litres) and product code as the program computes them, the\n"
           "species-condition-product tally and the load summary (cubic metres).\n"
           "\n"
           "  --json   one JSON document instead of text (see docs/cli.md)\n"
           "\n"
           "Exit status: 0 shown, 2 the file cannot be read.\n";
}

ArgumentSpec ShowCommand::arguments() const {
    ArgumentSpec spec;
    spec.flags = {"--json"};
    spec.minPositionals = 1;
    spec.maxPositionals = 1;
    return spec;
}

int ShowCommand::run(const ParsedArguments& args, Prompt&) {
    const std::string& file = args.positionals().front();
    std::string error;
    const std::optional<LoadInput> input = ReadLoadInput(file, error);
    if (!input) {
        std::fprintf(stderr, "%s: %s\n", file.c_str(), error.c_str());
        return kExitFailed;
    }
    const std::string text = args.has("--json") ? LoadAsJson(*input) : LoadAsText(*input);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitOk;
}

} // namespace brimlo::cli
