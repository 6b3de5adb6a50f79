#include "support/DovraneGeneric.h"

#include <cmath>

namespace brimlo {

double RoundDecimals(double x, int d) {
    const double f = static_cast<double>(static_cast<long long>(std::pow(10.0, d)));
    const double a = std::fabs(x);
    const double up = std::ceil(a * f) / f;
    const double down = std::floor(a * f) / f;
    double r;
    if (a - down >= up - a)
        r = up;
    else if (std::fabs((a - down) - (up - a)) >= 1e-8)
        r = down;
    else
        r = up;
    return x < 0 ? r * -1 : r;
}

void ReplaceFirst(std::string& text, const std::string& old, const std::string& replacement) {
    auto at = text.find(old);
    if (at != std::string::npos)
        text.replace(at, old.size(), replacement);
}

void UpcaseFirst(std::string& text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
}

bool MatchesAnyPair(const std::string& name,
                    const std::vector<std::pair<std::string, std::string>>& pairs) {
    for (const auto& [first, second] : pairs)
        if (name.find(first) != std::string::npos && name.find(second) != std::string::npos)
            return true;
    return false;
}

std::string Trimmed(const std::string& text) {
    auto begin = text.find_first_not_of(' ');
    if (begin == std::string::npos)
        return {};
    auto end = text.find_last_not_of(' ');
    return text.substr(begin, end - begin + 1);
}

} // namespace brimlo
