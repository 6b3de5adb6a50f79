#include "rules/TrimAllowance.h"

#include "support/BrimloError.h"

#include <gtest/gtest.h>

namespace brimlo {
namespace {

// The bands of the trim allowance; every accepted length is even and in range.
TEST(TrimAllowance, BandsAndEvenLengths) {
    const std::pair<int, int> cases[] = {
        {51, 6},   {210, 20}, {215, 22}, {239, 24}, {240, 24}, {260, 26}, {355, 34}, {356, 36},
        {365, 36}, {366, 36}, {480, 46}, {481, 48}, {490, 48}, {491, 48}, {500, 48}, {745, 72}};
    for (auto [cm, dm] : cases)
        EXPECT_EQ(ActualLengthToLength(cm), dm) << cm;
    for (int cm = 51; cm <= 745; ++cm) {
        const int dm = ActualLengthToLength(cm);
        EXPECT_TRUE(dm % 2 == 0 && dm >= 6 && dm <= 72) << cm << " cm gives " << dm;
    }
}

TEST(TrimAllowance, OutOfRangeRefused) {
    for (int cm : {50, 746, 0, -10}) {
        try {
            ActualLengthToLength(cm);
            ADD_FAILURE() << cm << " accepted";
        } catch (const BrimloError& e) {
            EXPECT_EQ(e.text(), "The Act Length must be a value between 51 and 745 cm.");
        }
    }
}

} // namespace
} // namespace brimlo
