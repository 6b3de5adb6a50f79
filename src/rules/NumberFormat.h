#pragma once

#include <string>

namespace brimlo {

// Formats a number by a picture such as "#0.000": "0" is a digit always
// shown, "#" a digit shown only when significant, "." the decimal point.
// The value is rounded to the shown decimals (halves away from zero); no
// thousands separators; a leading minus for values that stay negative.
std::string FormatNumber(double value, const std::string& picture);

} // namespace brimlo
