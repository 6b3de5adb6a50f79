#include "load/LoadSummary.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <random>

namespace brimlo {
namespace {

HeaderRecord HeaderOf(const std::string& sp, const std::string& cd, const std::string& pr) {
    HeaderRecord h;
    h.HSPECIES = sp;
    h.HCONDCODE = cd;
    h.HPRODCODE = pr;
    return h;
}

LogRecord Log(int32_t number, const std::string& sp, const std::string& cd, const std::string& pr,
              int16_t length, double gross, double cull) {
    LogRecord log;
    log.LOGNUM = number;
    log.SPECIES = sp;
    log.CONDCODE = cd;
    log.PRODCODE = pr;
    log.LENGTH = length;
    log.GROSSVOL = gross;
    log.CULLVOL = cull;
    return log;
}

TEST(LoadSummary, GroupKeysPadOnlyTheSpecies) {
    EXPECT_EQ(SummaryGroupKey("S", "GR", "01"), "S  GR 01");
    EXPECT_EQ(SummaryGroupKey("SP", "D", "01"), "SP D 01");
    EXPECT_EQ(SummaryGroupKey("S", "D", "01"), "S  D 01");
    EXPECT_EQ(SummaryGroupKey("S", "", "01"), "S   01");
    EXPECT_EQ(SummaryGroupKey("S ", "GR", "01"), SummaryGroupKey("S", "GR", "01"));
}

TEST(LoadSummary, TwoLogsOfOneCombination) {
    const LoadSummary s =
        ComputeLoadSummary(HeaderOf("S", "GR", "01"), {Log(1, "S", "GR", "01", 50, 250, 20),
                                                       Log(2, "S", "GR", "01", 46, 198, 0)});
    EXPECT_EQ(s.NUM_GROUPS, 1);
    EXPECT_EQ(s.TOTALLOGS, 2);
    const SummaryGroup& g = s.groups[0];
    EXPECT_EQ(g.SPCDPR, "S  GR 01");
    EXPECT_EQ(g.LOGNUMS, 2);
    EXPECT_NEAR(g.LENGTH, 9.6, 1e-12);
    EXPECT_NEAR(g.GROSSVOL, 0.448, 1e-12);
    EXPECT_NEAR(g.CULLVOL, 0.02, 1e-12);
    EXPECT_NEAR(g.NETVOL, 0.428, 1e-12);
    EXPECT_NEAR(g.CULLPER, 4.464285714285714, 1e-12);
}

TEST(LoadSummary, ConversionsMultiplyByTheirConstants) {
    // 96 dm times 0.1 is not the double nearest 9.6; the summary keeps the
    // product, as every report and export of it always has.
    ASSERT_NE(96 * 0.1, 9.6);
    const LoadSummary s =
        ComputeLoadSummary(HeaderOf("S", "GR", "01"), {Log(1, "S", "GR", "01", 50, 250, 20),
                                                       Log(2, "S", "GR", "01", 46, 198, 0)});
    EXPECT_EQ(s.groups[0].LENGTH, 96 * 0.1);
    EXPECT_EQ(s.groups[0].GROSSVOL, 448 * 0.001);
    EXPECT_EQ(s.groups[0].NETVOL, 428 * 0.001);
}

TEST(LoadSummary, HeaderCombinationIsGroupOneEvenWithoutLogs) {
    const LoadSummary s =
        ComputeLoadSummary(HeaderOf("P", "GR", "01"), {Log(1, "S", "GR", "01", 50, 250, 20)});
    EXPECT_EQ(s.NUM_GROUPS, 2);
    EXPECT_EQ(s.groups[0].SPCDPR, "P  GR 01");
    EXPECT_EQ(s.groups[0].LOGNUMS, 0);
    EXPECT_EQ(s.groups[0].GROSSVOL, 0.0);
    EXPECT_EQ(s.groups[0].CULLPER, 0.0);
    EXPECT_EQ(s.groups[1].SPCDPR, "S  GR 01");
    EXPECT_EQ(s.TOTALLOGS, 1);
    for (int g = 2; g < LoadSummary::kMaxGroups; ++g) {
        EXPECT_EQ(s.groups[g], SummaryGroup{});
    }
}

TEST(LoadSummary, NoLogsAtAll) {
    const LoadSummary s = ComputeLoadSummary(HeaderOf("S", "GR", "01"), {});
    EXPECT_EQ(s.NUM_GROUPS, 1);
    EXPECT_EQ(s.TOTALLOGS, 0);
    EXPECT_EQ(s.groups[0].CULLPER, 0.0);
    EXPECT_EQ(s.groups[0].NETVOL, 0.0);
}

TEST(LoadSummary, SpeciesNAndBlankSpeciesAreLeftOut) {
    const LoadSummary s =
        ComputeLoadSummary(HeaderOf("S", "GR", "01"), {Log(1, "N", "GR", "01", 50, 250, 0),
                                                       Log(2, " N", "GR", "01", 50, 250, 0),
                                                       Log(3, "  ", "GR", "01", 50, 250, 0)});
    EXPECT_EQ(s.NUM_GROUPS, 1);
    EXPECT_EQ(s.TOTALLOGS, 0);
}

TEST(LoadSummary, EmptyConditionStillGroups) {
    const LoadSummary s =
        ComputeLoadSummary(HeaderOf("S", "GR", "01"), {Log(1, "S", "", "01", 50, 250, 0)});
    EXPECT_EQ(s.groups[1].SPCDPR, "S   01");
    EXPECT_EQ(s.groups[1].LOGNUMS, 1);
}

TEST(LoadSummary, LogWithoutGrossVolumeOpensAnEmptyGroup) {
    const LoadSummary s =
        ComputeLoadSummary(HeaderOf("S", "GR", "01"), {Log(1, "F", "GR", "01", 50, 0, 30)});
    EXPECT_EQ(s.NUM_GROUPS, 2);
    EXPECT_EQ(s.groups[1].SPCDPR, "F  GR 01");
    EXPECT_EQ(s.groups[1].LOGNUMS, 0);
    EXPECT_EQ(s.groups[1].LENGTH, 0.0);
    EXPECT_EQ(s.groups[1].CULLVOL, 0.0);
    EXPECT_EQ(s.groups[1].CULLPER, 0.0);
}

TEST(LoadSummary, VolumesCountAsWholeLitres) {
    const LoadSummary s = ComputeLoadSummary(HeaderOf("S", "GR", "01"),
                                             {Log(1, "S", "GR", "01", 50, 249.6, 19.7),
                                              Log(2, "S", "GR", "01", 50, 0.4, 0),
                                              Log(3, "S", "GR", "01", 50, std::nan(""), 0)});
    EXPECT_EQ(s.groups[0].LOGNUMS, 1);
    EXPECT_NEAR(s.groups[0].GROSSVOL, 0.25, 1e-12);
    EXPECT_NEAR(s.groups[0].CULLVOL, 0.02, 1e-12);
}

TEST(LoadSummary, TwelveGroupsAtMost) {
    std::vector<LogRecord> logs;
    int32_t n = 0;
    // Eleven further combinations fill the twelve groups.
    for (char c = 'A'; c <= 'K'; ++c)
        logs.push_back(Log(++n, std::string(1, c), "GR", "01", 10, 100, 0));
    logs.push_back(Log(++n, "Z", "GR", "01", 10, 100, 0));  // left out
    logs.push_back(Log(++n, "A", "GR", "01", 20, 200, 50)); // still added
    logs.push_back(Log(++n, "Z", "GR", "01", 10, 100, 0));  // left out
    const LoadSummary s = ComputeLoadSummary(HeaderOf("S", "GR", "01"), logs);
    EXPECT_EQ(s.NUM_GROUPS, 12);
    EXPECT_EQ(s.TOTALLOGS, 12);
    EXPECT_EQ(s.groups[1].SPCDPR, "A  GR 01");
    EXPECT_EQ(s.groups[1].LOGNUMS, 2);
    EXPECT_NEAR(s.groups[1].GROSSVOL, 0.3, 1e-12);
    EXPECT_NEAR(s.groups[1].CULLPER, 50 * 100.0 / 300, 1e-12);
    EXPECT_EQ(s.groups[11].SPCDPR, "K  GR 01");
    for (const SummaryGroup& g : s.groups)
        EXPECT_NE(g.SPCDPR, "Z  GR 01");
}

TEST(LoadSummary, GroupsFollowLogNumberOrder) {
    const LoadSummary s =
        ComputeLoadSummary(HeaderOf("S", "GR", "01"), {Log(5, "B", "GR", "01", 10, 100, 0),
                                                       Log(2, "A", "GR", "01", 10, 100, 0)});
    EXPECT_EQ(s.groups[1].SPCDPR, "A  GR 01");
    EXPECT_EQ(s.groups[2].SPCDPR, "B  GR 01");
}

// A second, plainer way to the same totals: first-appearance order kept in
// a list, sums kept in a map.
LoadSummary Reference(const HeaderRecord& h, std::vector<LogRecord> logs) {
    std::stable_sort(logs.begin(), logs.end(),
                     [](const LogRecord& a, const LogRecord& b) { return a.LOGNUM < b.LOGNUM; });
    auto key = [](std::string sp, const std::string& cd, const std::string& pr) {
        while (sp.size() < 2)
            sp += ' ';
        return sp + ' ' + cd + ' ' + pr;
    };
    std::vector<std::string> order{key(h.HSPECIES, h.HCONDCODE, h.HPRODCODE)};
    std::map<std::string, std::array<long, 4>> sums; // logs, dm, gross, cull
    for (const LogRecord& log : logs) {
        const auto first = log.SPECIES.find_first_not_of(' ');
        if (first == std::string::npos ||
            log.SPECIES.substr(first, log.SPECIES.find_last_not_of(' ') - first + 1) == "N")
            continue;
        const std::string k = key(log.SPECIES, log.CONDCODE, log.PRODCODE);
        if (std::find(order.begin(), order.end(), k) == order.end()) {
            if (order.size() == 12)
                continue;
            order.push_back(k);
        }
        if (log.GROSSVOL > 0) {
            auto& s = sums[k];
            s[0] += 1;
            s[1] += log.LENGTH;
            s[2] += static_cast<long>(log.GROSSVOL);
            s[3] += static_cast<long>(log.CULLVOL);
        }
    }
    LoadSummary out;
    out.NUM_GROUPS = static_cast<int16_t>(order.size());
    for (std::size_t g = 0; g < order.size(); ++g) {
        const auto s = sums[order[g]];
        SummaryGroup& grp = out.groups[g];
        grp.SPCDPR = order[g];
        grp.LOGNUMS = static_cast<int32_t>(s[0]);
        grp.LENGTH = static_cast<double>(s[1]) * 0.1;
        grp.GROSSVOL = static_cast<double>(s[2]) * 0.001;
        grp.CULLVOL = static_cast<double>(s[3]) * 0.001;
        grp.NETVOL = static_cast<double>(s[2] - s[3]) * 0.001;
        grp.CULLPER = s[2] == 0 ? 0.0 : static_cast<double>(s[3]) * 100 / static_cast<double>(s[2]);
        out.TOTALLOGS += grp.LOGNUMS;
    }
    return out;
}

TEST(LoadSummary, AgreesWithAPlainerReckoningOnRandomLoads) {
    std::mt19937 rng(20261209);
    const std::vector<std::string> species{"S", "SP", "P",  "N",  " ", "F", "A", "PB",
                                           "B", "L",  "FB", "LT", "W", "C", "H", "Y"};
    const std::vector<std::string> conds{"GR", "D", "", "DR"};
    const std::vector<std::string> prods{"01", "02", "07"};
    for (int round = 0; round < 200; ++round) {
        std::vector<LogRecord> logs;
        const int count = std::uniform_int_distribution<int>(0, 60)(rng);
        for (int i = 0; i < count; ++i) {
            const double gross = std::uniform_int_distribution<int>(-1, 3)(rng) == 0
                                     ? 0
                                     : std::uniform_int_distribution<int>(1, 3000)(rng);
            logs.push_back(Log(std::uniform_int_distribution<int>(1, 2400)(rng),
                               species[rng() % species.size()], conds[rng() % conds.size()],
                               prods[rng() % prods.size()],
                               static_cast<int16_t>(std::uniform_int_distribution<int>(0, 72)(rng)),
                               gross, std::uniform_int_distribution<int>(0, 200)(rng)));
        }
        const HeaderRecord h = HeaderOf(species[rng() % 3], "GR", "01");
        const LoadSummary expected = Reference(h, logs);
        const LoadSummary actual = ComputeLoadSummary(h, logs);
        EXPECT_EQ(actual, expected) << "round " << round;
    }
}

} // namespace
} // namespace brimlo
