#include "rules/TrimAllowance.h"

#include "support/BrimloError.h"

namespace brimlo {

namespace {

// The trim allowance taken off an actual length. The bands just above a
// scaled length's reach (356-365, 481-490) keep their full length.
int32_t TrimAllowanceCm(int32_t actualCm) {
    if (actualCm >= 240 && actualCm <= 355)
        return 5;
    if (actualCm >= 366 && actualCm <= 480)
        return 10;
    if (actualCm >= 491)
        return 15;
    return 0;
}

} // namespace

int32_t ActualLengthToLength(int32_t actualCm) {
    if (actualCm < 51 || actualCm > 745)
        throw BrimloError(kActLengthRangeText);
    const int32_t trimmed = actualCm - TrimAllowanceCm(actualCm);
    int32_t dm = static_cast<int32_t>(trimmed * 0.1);
    // Scaled lengths are even: a part decimetre rounds up, a whole one down.
    if (dm % 2 != 0)
        dm += trimmed % 10 != 0 ? 1 : -1;
    return dm;
}

} // namespace brimlo
