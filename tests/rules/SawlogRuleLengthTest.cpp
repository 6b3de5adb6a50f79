#include "rules/ProductRules.h"

#include <gtest/gtest.h>

namespace brimlo {
namespace {

ProductSettings SmalianSawlogHeader() {
    ProductSettings h;
    h.htopd = 10;
    h.hprodcode = "01";
    h.sawlogs = "Y";
    h.volCalcMeth = "S";
    return h;
}

LogMeasures SpruceLog(int length, int gross, const std::string& prod) {
    LogMeasures log;
    log.species = "S";
    log.topd = 20;
    log.length = length;
    log.grossvol = gross;
    log.prodcode = prod;
    log.prodOverride = "N";
    return log;
}

// Litres per metre of a log whose length came negative from a file:
// 50 x 0.001 / (-2 x 0.1) x 1000 = -250, which is at most 24.
TEST(SawlogRuleLength, NegativeLengthGivesNegativeLitresPerMetre) {
    EXPECT_TRUE(IsSmallStemSmalian(50, -2));
    EXPECT_TRUE(IsSmallStemSmalian(5000, -72));
    EXPECT_EQ(ApplySawlogProductRule(SpruceLog(-2, 50, "01"), SmalianSawlogHeader()), "06");
    EXPECT_EQ(ApplySawlogProductRule(SpruceLog(-40, 97, "06"), SmalianSawlogHeader()), "06");
}

TEST(SawlogRuleLength, ZeroLengthHasNoLitresPerMetre) {
    EXPECT_FALSE(IsSmallStemSmalian(50, 0));
    EXPECT_EQ(ApplySawlogProductRule(SpruceLog(0, 50, "06"), SmalianSawlogHeader()), "01");
}

} // namespace
} // namespace brimlo
