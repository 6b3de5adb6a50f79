// The program as it runs, with its message boxes written to standard output
// and answered as closing them would: the copy the single-instance tests
// start and stop. It says "RUNNING" once its event loop turns.
#include "shell/ProgramStartup.h"
#include "support/Prompt.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

namespace {

class PrintingPrompt : public brimlo::Prompt {
public:
    brimlo::PromptAnswer show(const std::string& text, const std::string&, brimlo::PromptIcon,
                              brimlo::PromptButtons buttons) override {
        std::printf("BOX %s\n", text.c_str());
        std::fflush(stdout);
        return brimlo::Prompt::dismissedAnswer(buttons);
    }
};

void SayRunning() {
    QTimer::singleShot(0, [] {
        std::puts("RUNNING");
        std::fflush(stdout);
    });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(SayRunning)

int main(int argc, char** argv) {
    PrintingPrompt prompt;
    return brimlo::RunProgramWith(argc, argv, &prompt);
}
