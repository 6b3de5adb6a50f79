#pragma once

#include <cmath>
#include <string>

namespace brimlo::testing {

// Gross volumes reckoned straight from the published formulas, one
// expression per step and sharing nothing with the rules library: the
// reference the volume tests compare the program against.

inline constexpr double kRefPi = 3.1415927;

inline int RefRound(double x) {
    return static_cast<int>(std::floor(x + 0.5));
}

// The cross-section in m2 of a diameter in cm.
inline double RefArea(double diameter) {
    return 0.005 * diameter * diameter * 0.005 * kRefPi;
}

// Smalian's formula in litres: each end's half volume rounded on its own.
inline int RefSmalian(double butt, double top, double lengthDm) {
    if (butt <= 0 || top <= 0 || lengthDm <= 0)
        return 0;
    auto half = [&](double d) { return RefRound(RefArea(d) * (lengthDm * 0.1) * 1000 * 0.5); };
    return half(butt) + half(top);
}

inline bool RefDeciduous(std::string sp) {
    while (!sp.empty() && sp.front() == ' ')
        sp.erase(sp.begin());
    while (!sp.empty() && sp.back() == ' ')
        sp.pop_back();
    return sp == "A" || sp == "PB" || sp == "B" || sp == "AB" || sp == "ID" || sp == "OD";
}

// The Alberta method in litres: the butt estimated from the top and length.
inline int RefAlberta(const std::string& sp, double top, double lengthDm) {
    if (top <= 0 || lengthDm <= 0)
        return 0;
    const bool dec = RefDeciduous(sp);
    const double a0 = dec ? 5.43503728 : 5.1886261;
    const double a1 = dec ? 0.67028964 : 0.73061559;
    const double a2 = dec ? 0.007636883 : 0.006046189;
    const double predicted = a1 * top + a0 + a2 * (top * top);
    const double butt = top + ((predicted - top) * 0.41666666666666669) * (lengthDm * 0.1);
    return RefRound((RefArea(top) + RefArea(butt)) * 0.5 * (lengthDm * 0.1) * 1000);
}

} // namespace brimlo::testing
