#pragma once

#include <functional>

namespace brimlo {

class Prompt;

// Runs a command at the window boundary: a BrimloError or any other
// exception it raises is shown in the application's error box ("BRIMLO")
// on the prompt given and goes no further. Answers false when the command
// raised.
bool RunGuarded(Prompt& prompt, const std::function<void()>& command);

// The application error box for the exception being handled.
void ShowCurrentException(Prompt& prompt);

} // namespace brimlo
