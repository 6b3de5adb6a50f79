#pragma once

#include "load/CheckScaleComparison.h"

#include <optional>
#include <string>

namespace brimlo {

// The texts a check scale comparison is shown with, in the window, on the
// report and on a terminal. Texts are Windows-1252.

// "gross 1.00 %, net 2.00 %", or with the defect rule "gross 1.00 %, net
// 0.200 x percent defect, at most 5.00 %".
std::string ToleranceText(const CheckScaleTolerances& tolerances);

// A difference in percent as "#0.00"; "-" when there is none (the check
// scale has no volume).
std::string PercentText(const std::optional<double>& percent);

// "Smalian's Formula" or "Alberta Cubic Metre".
std::string VolumeMethodName(const HeaderRecord& header);

// "original only" or "check only".
std::string SideText(ScaleSide side);

// The whole comparison as lines of fixed-width text.
std::string CheckScaleText(const CheckScaleComparison& comparison);

} // namespace brimlo
