#include "rules/CullVolume.h"

#include <gtest/gtest.h>

namespace brimlo {
namespace {

// A hand-edited load file can carry a negative gross volume. Without a
// known method there is no deduction at all, so the two-thirds rule has
// nothing to cap; with a known method whose measurements are missing the
// nil deduction still goes through the cap.
LogMeasures NegativeGrossLog(char method) {
    LogMeasures log;
    log.species = "S";
    log.topd = 20;
    log.buttd = 30;
    log.length = 50;
    log.grossvol = -30;
    log.cullMethod = method;
    return log;
}

TEST(CullVolumeUnknownMethod, NegativeGrossStillGivesZero) {
    for (char m : {' ', '0', '9', 'X'})
        for (char vm : {'S', 'A'})
            EXPECT_EQ(CalcCullVolume(NegativeGrossLog(m), vm), 0) << m << vm;
}

TEST(CullVolumeUnknownMethod, KnownMethodWithoutMeasurementsIsCapped) {
    // Deduction 0 is above -30 x 2/3 = -20, so the whole (negative) gross.
    EXPECT_EQ(CalcCullVolume(NegativeGrossLog('7'), 'S'), -30);
    EXPECT_EQ(CalcCullVolume(NegativeGrossLog('3'), 'A'), -30);
}

} // namespace
} // namespace brimlo
