#include "rules/NumberFormat.h"

#include "support/DovraneGeneric.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace brimlo {

namespace {

struct Picture {
    int minIntegerDigits = 0;
    int requiredDecimals = 0;
    int optionalDecimals = 0;
};

Picture ParsePicture(const std::string& picture) {
    Picture p;
    const auto point = picture.find('.');
    const std::string integerPart = picture.substr(0, point);
    for (char c : integerPart)
        if (c == '0')
            ++p.minIntegerDigits;
    if (point == std::string::npos)
        return p;
    for (char c : picture.substr(point + 1)) {
        if (c == '0') {
            // A "0" after a "#" makes the "#" positions before it required too.
            p.requiredDecimals += 1 + p.optionalDecimals;
            p.optionalDecimals = 0;
        } else if (c == '#') {
            ++p.optionalDecimals;
        }
    }
    return p;
}

std::string NonFinite(double value) {
    if (std::isnan(value))
        return "NAN";
    return value < 0 ? "-INF" : "INF";
}

// Digits of |rounded| with every decimal position of the picture.
std::string PlainDigits(double magnitude, int decimals) {
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::fixed, decimals);
    return std::string(buffer.data(), result.ptr);
}

} // namespace

std::string FormatNumber(double value, const std::string& picture) {
    if (!std::isfinite(value))
        return NonFinite(value);
    const Picture p = ParsePicture(picture);
    // Pictures carry a handful of decimals; more than a double holds is noise.
    const int decimals = std::min(p.requiredDecimals + p.optionalDecimals, 20);
    const double rounded = RoundDecimals(value, decimals);
    std::string text = PlainDigits(std::fabs(rounded), decimals);

    std::string integerPart = text.substr(0, text.find('.'));
    std::string fraction = decimals > 0 ? text.substr(text.find('.') + 1) : std::string();
    while (static_cast<int>(fraction.size()) > p.requiredDecimals && fraction.back() == '0')
        fraction.pop_back();
    integerPart.erase(0, integerPart.find_first_not_of('0'));
    if (static_cast<int>(integerPart.size()) < p.minIntegerDigits)
        integerPart.insert(0, p.minIntegerDigits - integerPart.size(), '0');

    // A value that rounds to zero shows no sign.
    const bool negative = rounded < 0 && (integerPart.find_first_not_of('0') != std::string::npos ||
                                          fraction.find_first_not_of('0') != std::string::npos);
    std::string result = negative ? "-" : "";
    result += integerPart;
    if (!fraction.empty())
        result += "." + fraction;
    return result;
}

} // namespace brimlo
