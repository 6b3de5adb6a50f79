#include "rules/CullVolume.h"

#include "rules/GrossVolume.h"

#include <algorithm>
#include <limits>

namespace brimlo {

namespace {

constexpr double kTwoThirds = 0.6666666666666666;

// The sound part of a log valued by the load's method.
int32_t SoundVolume(const LogMeasures& log, char volumeMethod, double top, double length) {
    if (volumeMethod == 'S')
        return CalcSmalianVolume(log.buttd, top, length);
    return CalcAlbertaVolume(log.species, top, length);
}

// gross - sound without wrapping: the deduction saturates as the gross
// volume does when a log's values lie far outside any real log.
int32_t Difference(int32_t gross, int32_t sound) {
    const int64_t difference = int64_t{gross} - sound;
    return static_cast<int32_t>(std::clamp<int64_t>(difference, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// Thousandths of a square metre of one end, rounded the way the interior
// log rule has always rounded them.
int32_t RoundedEndArea(int32_t diameter) {
    return RoundHalfUp(0.005 * diameter * diameter * 0.005 * kScalePi * 1000);
}

int32_t InteriorVolumeSmalian(const LogMeasures& log) {
    const int32_t a1 = RoundedEndArea(log.c1);
    const int32_t a2 = RoundedEndArea(log.c2);
    const double average = (static_cast<double>(a1) + a2) * 0.5;
    return RoundHalfUp(log.length * 0.1 * average);
}

int32_t InteriorVolumeAlberta(const LogMeasures& log) {
    const double a1 = 0.005 * log.c1 * log.c1 * 0.005 * kScalePi;
    const double a2 = 0.005 * log.c2 * log.c2 * 0.005 * kScalePi;
    const double volume = (a1 + a2) * 0.5 * (log.c3 * 0.1);
    return RoundHalfUp(volume * 1000);
}

} // namespace

int32_t CullDiameterReduction(const LogMeasures& log, char volumeMethod) {
    if (volumeMethod == 'S')
        return Difference(log.grossvol, CalcSmalianVolume(log.c1, log.c2, log.length));
    // Under the Alberta rule the sound-wood diameter stands for the top.
    return Difference(log.grossvol, CalcAlbertaVolume(log.species, log.c1, log.length));
}

int32_t CullLengthReduction(const LogMeasures& log, char volumeMethod) {
    if (log.topd <= 0)
        return 0;
    const int64_t remaining = int64_t{log.length} - log.c1;
    if (remaining < 0)
        return 0;
    const int32_t sound =
        remaining == 0 ? 0
                       : SoundVolume(log, volumeMethod, log.topd, static_cast<double>(remaining));
    return Difference(log.grossvol, sound);
}

int32_t CullPercent(const LogMeasures& log) {
    if (log.c1 >= 67)
        return log.grossvol;
    const int64_t product = static_cast<int64_t>(log.c1) * log.grossvol;
    return RoundHalfUp(static_cast<double>(product) * 0.01);
}

int32_t CullFraction(const LogMeasures& log) {
    // Without a denominator there is no fraction to deduct.
    if (log.c2 == 0)
        return 0;
    return RoundHalfUp(static_cast<double>(log.c1) / log.c2 * log.grossvol);
}

int32_t CullBlockOut(const LogMeasures& log) {
    int64_t product = 0;
    // Past 64 bits the product is taken in floating point, where the
    // rounding saturates it.
    if (__builtin_mul_overflow(int64_t{log.c1} * log.c2, int64_t{log.c3}, &product))
        return RoundHalfUp(static_cast<double>(log.c1) * log.c2 * log.c3 * 0.01);
    return RoundHalfUp(static_cast<double>(product) * 0.01);
}

int32_t CullInteriorLog(const LogMeasures& log, char volumeMethod) {
    int32_t volume = volumeMethod == 'S' ? InteriorVolumeSmalian(log) : InteriorVolumeAlberta(log);
    // A defect that does not run the whole log is taken at half.
    if (log.length > log.c3)
        volume = RoundHalfUp(volume * 0.5);
    return volume;
}

int32_t CullCube(const LogMeasures& log) {
    return log.c1;
}

int32_t CullEndRot(const LogMeasures& log, char volumeMethod) {
    const double logArea = log.c1 * 0.5 * log.c1 * 0.5 * kScalePi;
    // Without a large-end diameter there is no end to compare the rot with.
    if (logArea <= 0)
        return 0;
    // The rot diameter is taken 2 cm smaller for deciding which rule applies.
    const double rotArea = (log.c2 - 2.0) * 0.5 * (log.c2 - 2.0) * 0.5 * kScalePi;
    if (rotArea / logArea <= 0.5)
        return RoundHalfUp(0.005 * log.c2 * log.c2 * 0.005 * kScalePi * (log.c3 * 0.1) * 0.5 *
                           1000);
    // Rot over more than half the end: value the log shortened by half the
    // rot length. A log with nothing left to value has nothing to deduct.
    const double remaining = log.length - log.c3 * 0.5;
    if (log.topd <= 0 || remaining <= 0)
        return 0;
    return Difference(log.grossvol, SoundVolume(log, volumeMethod, log.topd, remaining));
}

bool CullGateMet(const LogMeasures& log) {
    switch (log.cullMethod) {
    case '1':
        return log.c1 > 0 && log.length > 0;
    case '2':
    case '3':
    case '7':
        return log.c1 > 0;
    case '4':
        return log.c1 > 0 && log.c2 > 0;
    case '5':
    case '6':
    case '8':
        return log.c1 > 0 && log.c2 > 0 && log.c3 > 0;
    default:
        return false;
    }
}

namespace {

int32_t Deduction(const LogMeasures& log, char volumeMethod) {
    switch (log.cullMethod) {
    case '1':
        return CullDiameterReduction(log, volumeMethod);
    case '2':
        return CullLengthReduction(log, volumeMethod);
    case '3':
        return CullPercent(log);
    case '4':
        return CullFraction(log);
    case '5':
        return CullBlockOut(log);
    case '6':
        return CullInteriorLog(log, volumeMethod);
    case '7':
        return CullCube(log);
    case '8':
        return CullEndRot(log, volumeMethod);
    default:
        return 0;
    }
}

} // namespace

int32_t CalcCullVolume(const LogMeasures& log, char volumeMethod) {
    // No method, no cull: not even the cap below applies.
    if (log.cullMethod < '1' || log.cullMethod > '8')
        return 0;
    const int32_t deduction = CullGateMet(log) ? Deduction(log, volumeMethod) : 0;
    // The two-thirds rule: a defect that takes most of the log takes all of it.
    if (deduction > log.grossvol * kTwoThirds)
        return log.grossvol;
    return deduction;
}

} // namespace brimlo
