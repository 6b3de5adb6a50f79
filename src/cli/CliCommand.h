#pragma once

#include "cli/CliArguments.h"

#include <string>

namespace brimlo {
class Prompt;
}

namespace brimlo::cli {

// What the tool answers the shell with.
enum ExitCode : int {
    kExitOk = 0,
    kExitProblems = 1, // check found problems in a file
    kExitFailed = 2,   // a file could not be read or written, or the work failed
    kExitUsage = 64,   // the command line itself is wrong
};

// One subcommand: its name, the options it takes, its help and its work.
// A new subcommand is one class like this and one line in CliCommands.cpp.
class CliCommand {
public:
    virtual ~CliCommand() = default;

    // The word that selects it ("check"); the one-line summary for the
    // overview; its help text, the usage line first.
    virtual std::string name() const = 0;
    virtual std::string summary() const = 0;
    virtual std::string help() const = 0;
    // What its command line may hold besides --help.
    virtual ArgumentSpec arguments() const = 0;
    // False for commands that never draw (they start quicker).
    virtual bool needsGui() const { return false; }

    // prompt collects the boxes of the library code for the tool to print
    // once the command is done.
    virtual int run(const ParsedArguments& args, Prompt& prompt) = 0;
};

} // namespace brimlo::cli
