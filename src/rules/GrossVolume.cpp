#include "rules/GrossVolume.h"

#include <cmath>
#include <limits>
#include <string_view>

namespace brimlo {

namespace {

struct Taper {
    double a0;
    double a1;
    double a2;
};

constexpr Taper kConiferTaper{5.1886261, 0.73061559, 0.006046189};
constexpr Taper kDeciduousTaper{5.43503728, 0.67028964, 0.007636883};
constexpr double kFiveTwelfths = 0.41666666666666669;

// End area in square metres of a diameter in cm; the factors stay in this
// order so the litres agree with every other scaling of the same log.
double EndArea(double diameter) {
    return 0.005 * diameter * diameter * 0.005 * kScalePi;
}

} // namespace

int32_t RoundHalfUp(double x) {
    const double r = std::floor(x + 0.5);
    if (std::isnan(r))
        return 0;
    if (r >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (r <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(r);
}

int32_t CalcSmalianVolume(double butt, double top, double length) {
    if (butt <= 0 || top <= 0 || length <= 0)
        return 0;
    const double metres = length * 0.1;
    const double buttVolume = EndArea(butt) * metres;
    const double topVolume = EndArea(top) * metres;
    const int32_t buttHalf = RoundHalfUp(buttVolume * 1000 * 0.5);
    const int32_t topHalf = RoundHalfUp(topVolume * 1000 * 0.5);
    // Both halves are whole and not negative: adding them as doubles cannot
    // lose a litre, and the total saturates as each half does.
    return RoundHalfUp(static_cast<double>(buttHalf) + topHalf);
}

bool IsConiferSpecies(const std::string& species) {
    // Trimmed by view: this runs for every log of every recomputation.
    std::string_view code = species;
    const auto begin = code.find_first_not_of(' ');
    code = begin == std::string_view::npos
               ? std::string_view()
               : code.substr(begin, code.find_last_not_of(' ') - begin + 1);
    return !(code == "A" || code == "PB" || code == "B" || code == "AB" || code == "ID" ||
             code == "OD");
}

double EstimateButtDiameter(const std::string& species, double top, double length) {
    const Taper& t = IsConiferSpecies(species) ? kConiferTaper : kDeciduousTaper;
    const double metres = length * 0.1;
    const double predicted = t.a1 * top + t.a0 + t.a2 * (top * top);
    return top + ((predicted - top) * kFiveTwelfths) * metres;
}

int32_t CalcAlbertaVolume(const std::string& species, double top, double length) {
    if (top <= 0 || length <= 0)
        return 0;
    const double butt = EstimateButtDiameter(species, top, length);
    const double metres = length * 0.1;
    const double topArea = EndArea(top);
    const double buttArea = EndArea(butt);
    const double volume = (topArea + buttArea) * 0.5 * metres * 1000;
    return RoundHalfUp(volume);
}

int32_t CalcGrossVolume(char volumeMethod, const std::string& species, int topd, int buttd,
                        int length) {
    if (volumeMethod == 'A')
        return CalcAlbertaVolume(species, topd, length);
    return CalcSmalianVolume(buttd, topd, length);
}

} // namespace brimlo
