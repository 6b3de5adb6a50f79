#include "rules/ProductRules.h"

#include "common/ReferenceVolumes.h"
#include "rules/Cglobals.h"
#include "rules/CodeLists.h"
#include "rules/GrossVolume.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace brimlo {
namespace {

// A log, its product code and override, the header as volume method,
// sawlogs flag and header product ("SY01": Smalian, sawlogs, product 01),
// and the code the rule gives.
struct RuleCase {
    const char* species;
    int top, length, gross;
    const char *prod, *override, *header, *expected;
};

std::string Apply(std::string (*rule)(const LogMeasures&, const ProductSettings&),
                  const RuleCase& c) {
    const std::string h = c.header;
    // species, top, butt, length, C1 to C3, gross, cull type and method, product, override
    const LogMeasures log{c.species, c.top,   0,   c.length, 0,      0,
                          0,         c.gross, ' ', ' ',      c.prod, c.override};
    return rule(log, {10, h.substr(2), h.substr(1, 1), h.substr(0, 1)});
}

// Smalian: 24 litres a metre or less is a small stem (39 and 139 litres
// are the published 12/10/40 and 22/20/40 logs); a length of 0 gives no
// litres a metre, a negative one (from a file) a negative figure:
// 50 x 0.001 / (-2 x 0.1) x 1000 = -250. Deciduous logs and logs without
// gross return to sawlogs; other codes, overridden logs and a header
// without sawlogs are left alone. Alberta: a table of top and length.
TEST(SawlogRule, Cases) {
    const RuleCase cases[] = {
        {"S", 20, 40, 96, "01", "N", "SY01", "06"},  {"S", 20, 40, 97, "01", "N", "SY01", "06"},
        {"S", 20, 40, 98, "01", "N", "SY01", "01"},  {"S", 10, 40, 39, "01", "N", "SY01", "06"},
        {"S", 20, 40, 139, "06", "N", "SY01", "01"}, {"S", 20, 0, 50, "01", "N", "SY01", "01"},
        {"S", 20, 0, 50, "06", "N", "SY01", "01"},   {"S", 20, -2, 50, "01", "N", "SY01", "06"},
        {"S", 20, -40, 97, "06", "N", "SY01", "06"}, {"A", 10, 40, 39, "01", "N", "SY01", "01"},
        {"A", 10, 40, 39, "06", "N", "SY01", "01"},  {"S", 10, 40, 0, "06", "N", "SY01", "01"},
        {"S", 10, 40, 39, "02", "N", "SY01", "02"},  {"S", 10, 40, 39, "99", "N", "SY01", "99"},
        {"S", 10, 40, 39, "01", "Y", "SY01", "01"},  {"S", 10, 40, 39, "01", " ", "SY01", "01"},
        {"S", 10, 40, 39, "01", "", "SY01", "01"},   {"S", 10, 40, 39, "06", "N", "SN01", "06"},
        {"S", 10, 40, 39, "01", "N", "SN01", "01"},  {"S", 12, 72, 100, "01", "N", "AY01", "06"},
        {"S", 8, 72, 100, "01", "N", "AY01", "06"},  {"S", 14, 62, 100, "01", "N", "AY01", "01"},
        {"S", 14, 60, 100, "01", "N", "AY01", "06"}, {"S", 16, 30, 100, "01", "N", "AY01", "06"},
        {"S", 16, 32, 100, "01", "N", "AY01", "01"}};
    for (const RuleCase& c : cases)
        EXPECT_EQ(Apply(ApplySawlogProductRule, c), c.expected) << c.top << "/" << c.length;
    for (int length = 6; length <= 72; length += 2)
        for (int top : {18, 6})
            EXPECT_EQ(Apply(ApplySawlogProductRule, {"S", top, length, 100, "01", "N", "AY01", ""}),
                      "01");
}

// Below the header's top a log is undersize unless overridden. Only an
// empty species field is no species, as for the log reaction: the list's
// blank entry kept as a blank is a species like any other. A recovered
// log takes the header product through the sawlog rule.
TEST(UndersizeRule, Cases) {
    const RuleCase cases[] = {
        {"S", 8, 40, 20, "02", "N", "SY01", "99"},  {"S", 8, 40, 20, "02", "Y", "SY01", "02"},
        {"S", 8, 40, 20, "02", "", "SY01", "99"},   {"S", 10, 40, 20, "02", "N", "SY01", "02"},
        {"", 8, 40, 20, "02", "N", "SY01", "02"},   {" ", 8, 40, 20, "02", "N", "SY01", "99"},
        {"S", 0, 40, 0, "02", "N", "SY01", "02"},   {"S", 10, 40, 39, "99", "N", "SY01", "06"},
        {"S", 10, 40, 39, "99", "N", "SN01", "01"}, {"S", 10, 40, 39, "99", "N", "SY02", "02"}};
    for (const RuleCase& c : cases)
        EXPECT_EQ(Apply(ApplyUndersizeRule, c), c.expected)
            << "'" << c.species << "' " << c.top << " " << c.prod << c.override << c.header;
}

// An independent reading of both rules for random logs.
std::string RefSawlog(const LogMeasures& g, const ProductSettings& h) {
    if (h.sawlogs == "N" || g.prodcode == "99")
        return g.prodcode;
    if ((g.prodcode != "01" && g.prodcode != "06") || g.prodOverride != "N")
        return g.prodcode;
    std::string code = "01";
    if (!testing::RefDeciduous(g.species) && g.grossvol > 0) {
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
            // undersize top, header product, sawlogs flag and volume method
            const ProductSettings h{2 * uniform(0, 8), pick(products), uniform(0, 3) ? "Y" : "N",
                                    method};
            ASSERT_EQ(ApplySawlogProductRule(log, h), RefSawlog(log, h));
            ASSERT_EQ(ApplyUndersizeRule(log, h), RefUndersize(log, h));
        }
}

} // namespace
} // namespace brimlo
