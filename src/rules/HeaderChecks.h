#pragma once

#include "support/Prompt.h"
#include "support/Value.h"

#include <string>

namespace brimlo {

// Checks that show their own error box (OK, error icon) on the prompt and
// answer false; the caller puts the focus where the problem is.

// Exactly one of CTL, CTP, DTL, DTP, FMA or the empty text.
bool IsDispositionCode(const std::string& code);

bool CheckDisposition(const std::string& disposition, const std::string& source, Prompt& prompt);
bool CheckSource(const std::string& disposition, const std::string& source, Prompt& prompt);
bool CheckScalerName(const std::string& text, Prompt& prompt);
bool CheckScalerPermit(const std::string& text, Prompt& prompt);
bool CheckHeaderTopDiameter(int value, Prompt& prompt);
bool CheckDefaultTopDiameter(int value, Prompt& prompt);
bool CheckDefaultLength(int value, Prompt& prompt);
bool CheckVolumeMethod(const std::string& selectorText, Prompt& prompt);

// Against the current local year.
bool CheckDateWeighed(Date date, Prompt& prompt);
bool CheckDateWeighed(Date date, int currentYear, Prompt& prompt);

} // namespace brimlo
