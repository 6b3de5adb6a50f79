#include "rules/CullEntryRules.h"

#include <gtest/gtest.h>

namespace brimlo {
namespace {

const std::string kMethodFirst = "Cull Error: Cull Method must be entered first";
const std::string kNoC2 = "Cull Error: Cannot enter C2 with this cull method";
const std::string kNoC3 = "Cull Error: Cannot enter C3 with this cull method";

TEST(CullMeasureRefusal, NoMethodYet) {
    for (int m = 1; m <= 3; ++m) {
        EXPECT_EQ(CullMeasureRefusal(' ', m, 5, 'S'), kMethodFirst) << m;
        EXPECT_EQ(CullMeasureRefusal(' ', m, 0, 'S'), "") << m;
    }
}

TEST(CullMeasureRefusal, BarredC2) {
    EXPECT_EQ(CullMeasureRefusal('2', 2, 5, 'S'), kNoC2);
    EXPECT_EQ(CullMeasureRefusal('3', 2, 1, 'A'), kNoC2);
    EXPECT_EQ(CullMeasureRefusal('7', 2, 1, 'S'), kNoC2);
    EXPECT_EQ(CullMeasureRefusal('1', 2, 5, 'A'), kNoC2);
    EXPECT_EQ(CullMeasureRefusal('1', 2, 5, 'S'), "");
    for (char m : {'4', '5', '6', '8'})
        EXPECT_EQ(CullMeasureRefusal(m, 2, 5, 'A'), "") << m;
    EXPECT_EQ(CullMeasureRefusal('2', 2, 0, 'S'), "");
}

TEST(CullMeasureRefusal, BarredC3) {
    for (char m : {'1', '2', '3', '4', '7'})
        EXPECT_EQ(CullMeasureRefusal(m, 3, 1, 'S'), kNoC3) << m;
    for (char m : {'5', '6', '8'})
        EXPECT_EQ(CullMeasureRefusal(m, 3, 1, 'S'), "") << m;
}

TEST(CullTabSkips, PastUnusedMeasurements) {
    for (char m : {'2', '3', '7'})
        EXPECT_EQ(CullTabSkipsAfter(m, 1, 'S'), 2) << m;
    EXPECT_EQ(CullTabSkipsAfter('1', 1, 'A'), 2);
    EXPECT_EQ(CullTabSkipsAfter('1', 1, 'S'), 0);
    EXPECT_EQ(CullTabSkipsAfter('1', 2, 'S'), 1);
    EXPECT_EQ(CullTabSkipsAfter('4', 2, 'A'), 1);
    EXPECT_EQ(CullTabSkipsAfter('5', 2, 'S'), 0);
    EXPECT_EQ(CullTabSkipsAfter('8', 1, 'S'), 0);
    EXPECT_EQ(CullTabSkipsAfter('4', 3, 'S'), 0);
}

} // namespace
} // namespace brimlo
