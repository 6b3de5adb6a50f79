#pragma once

#include "rules/Cglobals.h"

#include <optional>
#include <string>

namespace brimlo {

class Prompt;

// The about box's text: the program, its version and the date of the
// program file (when known), the date as "yyyy/mm/dd".
std::string AboutText(const std::string& versionText, const std::optional<ProgramDate>& date);

inline constexpr const char* kAboutCaption = "About BRIMLO";

// The about box of "&About...".
void ShowAbout(const Cglobals& globals, Prompt& prompt);

} // namespace brimlo
