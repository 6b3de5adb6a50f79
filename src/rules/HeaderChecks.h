#pragma once

#include "support/Value.h"

#include <string>

namespace brimlo {

// Checks that show their own error box (OK, error icon) and answer false;
// the caller puts the focus where the problem is.

// Exactly one of CTL, CTP, DTL, DTP, FMA or the empty text.
bool IsDispositionCode(const std::string& code);

bool CheckDisposition(const std::string& disposition, const std::string& source);
bool CheckSource(const std::string& disposition, const std::string& source);
bool CheckScalerName(const std::string& text);
bool CheckScalerPermit(const std::string& text);
bool CheckHeaderTopDiameter(int value);
bool CheckDefaultTopDiameter(int value);
bool CheckDefaultLength(int value);
bool CheckVolumeMethod(const std::string& selectorText);

// Against the current local year.
bool CheckDateWeighed(Date date);
bool CheckDateWeighed(Date date, int currentYear);

} // namespace brimlo
