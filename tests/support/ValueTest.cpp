#include "support/Value.h"

#include <gtest/gtest.h>

using namespace brimlo;

TEST(Date, KnownDayNumbers) {
    EXPECT_EQ(Date::fromYmd(1, 1, 1).days, 1);
    // 1 January 2000 is day 730120 counted from 1 January of year 1 as 1.
    EXPECT_EQ(Date::fromYmd(2000, 1, 1).days, 730120);
    EXPECT_EQ(Date::fromYmd(2000, 3, 1).days - Date::fromYmd(2000, 2, 28).days, 2);
    EXPECT_EQ(Date::fromYmd(1900, 3, 1).days - Date::fromYmd(1900, 2, 28).days, 1);
    EXPECT_FALSE(Date::fromYmd(2001, 2, 29).valid());
}

TEST(Date, RoundTripsEveryDayOfFourCenturies) {
    const int32_t from = Date::fromYmd(1800, 1, 1).days;
    const int32_t to = Date::fromYmd(2200, 12, 31).days;
    for (int32_t n = from; n <= to; ++n) {
        int y, m, d;
        Date{n}.toYmd(y, m, d);
        ASSERT_EQ(Date::fromYmd(y, m, d).days, n);
    }
}

TEST(Value, ConversionsBetweenKinds) {
    EXPECT_EQ(Value(256.0).asInt(), 256);
    EXPECT_EQ(Value(int32_t{42}).asString(), "42");
    EXPECT_EQ(Value("17").asInt(), 17);
    EXPECT_EQ(Value("x").asInt(), 0);
    EXPECT_EQ(Value(Date::fromYmd(2024, 2, 29)).asString(), "2024/02/29");
}
