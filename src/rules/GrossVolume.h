#pragma once

#include <cstdint>
#include <string>

namespace brimlo {

// The circle constant of every area in the scaling rules. Volumes are
// published to the litre, so this value binds, not the true pi.
inline constexpr double kScalePi = 3.1415927;

// floor(x + 0.5) as a whole number of litres, saturated to the int32 range
// so that absurd inputs cannot overflow.
int32_t RoundHalfUp(double x);

// Smalian's formula, butt and top in cm, length in dm; each end's half
// volume is rounded to litres on its own. 0 when any input is not positive.
int32_t CalcSmalianVolume(double butt, double top, double length);

// False only for the deciduous codes A, PB, B, AB, ID, OD (blanks trimmed).
bool IsConiferSpecies(const std::string& species);

// The butt diameter (cm) the taper equation predicts from top and length.
double EstimateButtDiameter(const std::string& species, double top, double length);

// The Alberta Cubic Metre rule: the keyed butt is ignored and estimated.
int32_t CalcAlbertaVolume(const std::string& species, double top, double length);

// The gross volume by a load's method letter: Alberta for 'A', else Smalian.
int32_t CalcGrossVolume(char volumeMethod, const std::string& species, int topd, int buttd,
                        int length);

} // namespace brimlo
