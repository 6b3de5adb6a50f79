#pragma once

#include "rules/Cglobals.h"

namespace brimlo {

// Fills the settings object before any window exists: installation and
// application data directories (telling the user when the data folder
// cannot be had), version text and program date.
void BuildGlobals(Cglobals& globals);

// The lock the single-instance rule takes.
inline constexpr const char* kInstanceLockName = "DOVRANE_BRIMLO_EXCLUSIVE";

// The whole run: settings, the single-instance rule, the main window and
// the event loop. Answers the program's exit code.
int RunProgram(int argc, char** argv);

} // namespace brimlo
