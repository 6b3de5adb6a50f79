#pragma once

#include "rules/Cglobals.h"

#include <string>

namespace brimlo {

class Prompt;

// Fills the settings object before any window exists: installation and
// application data directories (telling the user when the data folder
// cannot be had, on the prompt), version text and program date.
void BuildGlobals(Cglobals& globals, Prompt& prompt);

// The lock the single-instance rule takes.
inline constexpr const char* kInstanceLockName = "DOVRANE_BRIMLO_EXCLUSIVE";

// What a second copy on a data folder tells the user before it ends.
std::string AnotherCopyMessage(const std::string& dataFolder, const std::string& holder);

// The whole run: settings, the single-instance rule, the main window and
// the event loop. Answers the program's exit code.
int RunProgram(int argc, char** argv);
// The same, talking to the user through prompt (message boxes when null).
int RunProgramWith(int argc, char** argv, Prompt* prompt);

} // namespace brimlo
