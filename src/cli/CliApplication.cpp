#include "cli/CliApplication.h"

#include "cli/CliCommands.h"
#include "cli/CliPrompt.h"
#include "reports/ReportTexts.h"
#include "support/BrimloError.h"

#include <QCoreApplication>
#include <QDate>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace brimlo::cli {

namespace {

const char* const kTool = "brimlo-cli";

std::string Overview(const std::vector<std::unique_ptr<CliCommand>>& commands) {
    std::string text = std::string("usage: ") + kTool +
                       " COMMAND [ARGS...]\n"
                       "       brimlo-cli COMMAND --help\n"
                       "       brimlo-cli --version\n"
                       "\n"
                       "The load and master work of Brimlo from the command line.\n"
                       "\n"
                       "Commands:\n";
    // The names stand in a column as wide as the longest and two blanks.
    std::size_t width = 0;
    for (const auto& command : commands)
        width = std::max(width, command->name().size() + 2);
    for (const auto& command : commands) {
        std::string name = command->name();
        name.resize(width, ' ');
        text += "  " + name + command->summary() + "\n";
    }
    text += "\nExit status: 0 done, 1 check found problems or check-scale found the load\n"
            "outside its tolerances, 2 a file could not be read or written, 64 the command\n"
            "line is wrong.\n";
    return text;
}

CliCommand* Find(const std::vector<std::unique_ptr<CliCommand>>& commands,
                 const std::string& name) {
    for (const auto& command : commands) {
        if (command->name() == name)
            return command.get();
    }
    return nullptr;
}

void PrintLeftOver(CliPrompt& prompt) {
    for (const std::string& text : prompt.take())
        std::fprintf(stderr, "%s: %s\n", kTool, text.c_str());
}

// Reports are drawn through Qt without a display: the offscreen platform,
// chosen here before the application object exists.
int RunCommand(CliCommand& command, const ParsedArguments& args, int argc, char** argv) {
    std::unique_ptr<QCoreApplication> app;
    if (command.needsGui()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    CliPrompt prompt;
    try {
        const int status = command.run(args, prompt);
        PrintLeftOver(prompt);
        return status;
    } catch (const BrimloError& error) {
        PrintLeftOver(prompt);
        std::fprintf(stderr, "%s %s: %s\n", kTool, command.name().c_str(),
                     WithFullStop(error.text()).c_str());
        return kExitFailed;
    }
}

int Usage(const std::string& command, const std::string& why) {
    std::fprintf(stderr, "%s %s: %s\nTry '%s %s --help'.\n", kTool, command.c_str(), why.c_str(),
                 kTool, command.c_str());
    return kExitUsage;
}

} // namespace

int RunCli(int argc, char** argv) {
    // The reports date their pages with the day the tool started.
    SetProgramStartDate(QDate::currentDate());
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (!words.empty() && words[0] == "--version") {
        std::printf("%s %s\n", kTool, BRIMLO_VERSION_TEXT);
        return kExitOk;
    }
    const std::vector<std::unique_ptr<CliCommand>> commands = AllCommands();
    if (words.empty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        CliCommand* about = words.size() > 1 ? Find(commands, words[1]) : nullptr;
        const std::string text = about ? about->help() : Overview(commands);
        std::fputs(text.c_str(), words.empty() ? stderr : stdout);
        return words.empty() ? kExitUsage : kExitOk;
    }
    CliCommand* command = Find(commands, words[0]);
    if (!command) {
        std::fprintf(stderr, "%s: unknown command '%s'\nTry '%s --help'.\n", kTool,
                     words[0].c_str(), kTool);
        return kExitUsage;
    }
    try {
        const ParsedArguments args = ParsedArguments::Parse(
            std::vector<std::string>(words.begin() + 1, words.end()), command->arguments());
        if (args.helpAsked()) {
            std::fputs(command->help().c_str(), stdout);
            return kExitOk;
        }
        return RunCommand(*command, args, argc, argv);
    } catch (const UsageError& error) {
        return Usage(command->name(), error.what());
    }
}

} // namespace brimlo::cli
