#include "rules/ProductRules.h"

#include "rules/Cglobals.h"
#include "rules/CodeLists.h"
#include "rules/GrossVolume.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace brimlo {
namespace {

ProductSettings Header(const std::string& method = "S", const std::string& sawlogs = "Y",
                       int htopd = 10, const std::string& hprod = "01") {
    ProductSettings h;
    h.htopd = htopd;
    h.hprodcode = hprod;
    h.sawlogs = sawlogs;
    h.volCalcMeth = method;
    return h;
}

LogMeasures Log(const std::string& sp, int top, int length, int gross, const std::string& prod,
                const std::string& override = "N") {
    LogMeasures log;
    log.species = sp;
    log.topd = top;
    log.length = length;
    log.grossvol = gross;
    log.prodcode = prod;
    log.prodOverride = override;
    return log;
}

TEST(SawlogRuleSmalian, TwentyFourLitresPerMetre) {
    EXPECT_EQ(ApplySawlogProductRule(Log("S", 20, 40, 96, "01"), Header()), "06");
    EXPECT_EQ(ApplySawlogProductRule(Log("S", 20, 40, 97, "01"), Header()), "06");
    EXPECT_EQ(ApplySawlogProductRule(Log("S", 20, 40, 98, "01"), Header()), "01");
    EXPECT_EQ(
        ApplySawlogProductRule(Log("S", 10, 40, CalcSmalianVolume(12, 10, 40), "01"), Header()),
        "06");
    EXPECT_EQ(
        ApplySawlogProductRule(Log("S", 20, 40, CalcSmalianVolume(22, 20, 40), "06"), Header()),
        "01");
}

TEST(SawlogRuleSmalian, LogWithoutLengthIsNotSmall) {
    EXPECT_EQ(ApplySawlogProductRule(Log("S", 20, 0, 50, "01"), Header()), "01");
    EXPECT_EQ(ApplySawlogProductRule(Log("S", 20, 0, 50, "06"), Header()), "01");
    EXPECT_FALSE(IsSmallStemSmalian(50, 0));
}

TEST(SawlogRule, DeciduousOrNoGrossReturnsToSawlogs) {
    EXPECT_EQ(ApplySawlogProductRule(Log("A", 10, 40, 39, "01"), Header()), "01");
    EXPECT_EQ(ApplySawlogProductRule(Log("A", 10, 40, 39, "06"), Header()), "01");
    EXPECT_EQ(ApplySawlogProductRule(Log("S", 10, 40, 0, "06"), Header()), "01");
}

TEST(SawlogRule, LeavesOtherCodesAndOverriddenLogs) {
    EXPECT_EQ(ApplySawlogProductRule(Log("S", 10, 40, 39, "02"), Header()), "02");
    EXPECT_EQ(ApplySawlogProductRule(Log("S", 10, 40, 39, "99"), Header()), "99");
    EXPECT_EQ(ApplySawlogProductRule(Log("S", 10, 40, 39, "01", "Y"), Header()), "01");
    EXPECT_EQ(ApplySawlogProductRule(Log("S", 10, 40, 39, "01", " "), Header()), "01");
    EXPECT_EQ(ApplySawlogProductRule(Log("S", 10, 40, 39, "01", ""), Header()), "01");
    EXPECT_EQ(ApplySawlogProductRule(Log("S", 10, 40, 39, "06"), Header("S", "N")), "06");
    EXPECT_EQ(ApplySawlogProductRule(Log("S", 10, 40, 39, "01"), Header("S", "N")), "01");
}

TEST(SawlogRuleAlberta, SmallStemTable) {
    auto rule = [](int top, int length) {
        return ApplySawlogProductRule(Log("S", top, length, 100, "01"), Header("A"));
    };
    EXPECT_EQ(rule(12, 72), "06");
    EXPECT_EQ(rule(8, 72), "06");
    EXPECT_EQ(rule(14, 62), "01");
    EXPECT_EQ(rule(14, 60), "06");
    EXPECT_EQ(rule(16, 30), "06");
    EXPECT_EQ(rule(16, 32), "01");
    for (int length = 6; length <= 72; length += 2) {
        EXPECT_EQ(rule(18, length), "01");
        EXPECT_EQ(rule(6, length), "01");
    }
}

TEST(UndersizeRule, BelowThresholdIsUndersize) {
    EXPECT_EQ(ApplyUndersizeRule(Log("S", 8, 40, 20, "02"), Header()), "99");
    EXPECT_EQ(ApplyUndersizeRule(Log("S", 8, 40, 20, "02", "Y"), Header()), "02");
    EXPECT_EQ(ApplyUndersizeRule(Log("S", 8, 40, 20, "02", ""), Header()), "99");
    EXPECT_EQ(ApplyUndersizeRule(Log("S", 10, 40, 20, "02"), Header()), "02");
}

// Only an empty species field is no species, as for the log reaction: the
// list's blank entry kept as a blank is a species like any other.
TEST(UndersizeRule, NoSpeciesOrTopIsLeftAlone) {
    EXPECT_EQ(ApplyUndersizeRule(Log("", 8, 40, 20, "02"), Header()), "02");
    EXPECT_EQ(ApplyUndersizeRule(Log(" ", 8, 40, 20, "02"), Header()), "99");
    EXPECT_EQ(ApplyUndersizeRule(Log("S", 0, 40, 0, "02"), Header()), "02");
}

TEST(UndersizeRule, RecoveredLogTakesHeaderProductThroughSawlogRule) {
    const int gross = CalcSmalianVolume(12, 10, 40);
    EXPECT_EQ(ApplyUndersizeRule(Log("S", 10, 40, gross, "99"), Header()), "06");
    EXPECT_EQ(ApplyUndersizeRule(Log("S", 10, 40, gross, "99"), Header("S", "N")), "01");
    EXPECT_EQ(ApplyUndersizeRule(Log("S", 10, 40, gross, "99"), Header("S", "Y", 10, "02")), "02");
}

// Litres per metre of a log whose length came negative from a file:
// 50 x 0.001 / (-2 x 0.1) x 1000 = -250, which is at most 24.
TEST(SawlogRuleLength, NegativeLengthGivesNegativeLitresPerMetre) {
    EXPECT_TRUE(IsSmallStemSmalian(50, -2));
    EXPECT_TRUE(IsSmallStemSmalian(5000, -72));
    EXPECT_EQ(ApplySawlogProductRule(Log("S", 20, -2, 50, "01"), Header()), "06");
    EXPECT_EQ(ApplySawlogProductRule(Log("S", 20, -40, 97, "06"), Header()), "06");
}

TEST(SawlogRuleLength, ZeroLengthHasNoLitresPerMetre) {
    EXPECT_FALSE(IsSmallStemSmalian(50, 0));
    EXPECT_EQ(ApplySawlogProductRule(Log("S", 20, 0, 50, "06"), Header()), "01");
}

// An independent reading of both rules for random logs.
std::string RefSawlog(const LogMeasures& g, const ProductSettings& h) {
    if (h.sawlogs == "N" || g.prodcode == "99")
        return g.prodcode;
    if ((g.prodcode != "01" && g.prodcode != "06") || g.prodOverride != "N")
        return g.prodcode;
    std::string code = "01";
    if (IsConiferSpecies(g.species) && g.grossvol > 0) {
        if (h.volCalcMeth == "S") {
            if (g.length > 0) {
                double q = g.grossvol * 0.001 / (g.length * 0.1) * 1000;
                double f = std::floor(q);
                double rounded = q - f >= 0.5 - 5e-9 ? f + 1 : f;
                if (rounded <= 24)
                    code = "06";
            }
        } else {
            int limit = (g.topd == 8 || g.topd == 10 || g.topd == 12) ? 72
                        : g.topd == 14                                ? 60
                        : g.topd == 16                                ? 30
                                                                      : -1;
            if (g.length <= limit)
                code = "06";
        }
    }
    return code;
}

std::string RefUndersize(const LogMeasures& g, const ProductSettings& h) {
    const bool noSpecies = g.species.empty();
    if (g.prodOverride == "Y" || noSpecies || g.topd <= 0)
        return g.prodcode;
    if (g.topd < h.htopd)
        return "99";
    if (g.prodcode != "99")
        return g.prodcode;
    LogMeasures back = g;
    back.prodcode = h.hprodcode;
    return RefSawlog(back, h);
}

TEST(ProductRules, RandomLogsMatchReference) {
    std::mt19937 rng(99);
    auto pick = [&](const std::vector<std::string>& list) {
        return list[std::uniform_int_distribution<std::size_t>(0, list.size() - 1)(rng)];
    };
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const std::vector<std::string> overrides{"N", "N", "N", "Y", " ", ""};
    const std::vector<std::string> products{"01", "06", "99", "02", "01", "06"};
    for (const std::string method : {"S", "A"})
        for (int i = 0; i < 30000; ++i) {
            LogMeasures log;
            log.species = pick(CodeLists::Standard().speciesList());
            log.topd = 2 * uniform(0, 12);
            log.length = 2 * uniform(0, 36);
            log.grossvol = CalcGrossVolume(method[0], log.species, log.topd,
                                           log.topd + 2 * uniform(0, 4), log.length);
            log.prodcode = pick(products);
            log.prodOverride = pick(overrides);
            ProductSettings h =
                Header(method, uniform(0, 3) ? "Y" : "N", 2 * uniform(0, 8), pick(products));
            ASSERT_EQ(ApplySawlogProductRule(log, h), RefSawlog(log, h));
            ASSERT_EQ(ApplyUndersizeRule(log, h), RefUndersize(log, h));
        }
}

} // namespace
} // namespace brimlo
