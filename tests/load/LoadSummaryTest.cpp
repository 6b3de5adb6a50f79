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

// A group as worked out by hand: logs, decimetres and whole litres.
struct Group {
    std::string key;
    int logs, dm, gross, cull;
};

struct SummaryCase {
    const char* name;
    const char* headerSpecies;
    std::vector<LogRecord> logs;
    int totalLogs;
    std::vector<Group> groups;
};

LogRecord Log(int32_t number, const std::string& sp, int16_t length, double gross, double cull) {
    return Log(number, sp, "GR", "01", length, gross, cull);
}

const Group kNone = {"S  GR 01", 0, 0, 0, 0};

// Eleven more combinations fill the twelve groups; a thirteenth is left out.
SummaryCase TwelveGroupsAtMost() {
    SummaryCase c{"TwelveGroupsAtMost", "S", {}, 12, {kNone}};
    for (char sp = 'A'; sp <= 'K'; ++sp) {
        c.logs.push_back(Log(sp - 'A' + 1, std::string(1, sp), 10, 100, 0));
        c.groups.push_back({std::string(1, sp) + "  GR 01", 1, 10, 100, 0});
    }
    c.logs.push_back(Log(12, "Z", 10, 100, 0));
    c.logs.push_back(Log(13, "A", 20, 200, 50)); // still added
    c.logs.push_back(Log(14, "Z", 10, 100, 0));
    c.groups[1] = {"A  GR 01", 2, 30, 300, 50};
    return c;
}

// clang-format off
const SummaryCase kCases[] = {
    {"TwoLogsOfOneCombination", "S", {Log(1, "S", 50, 250, 20), Log(2, "S", 46, 198, 0)}, 2,
     {{"S  GR 01", 2, 96, 448, 20}}},
    {"HeaderCombinationIsGroupOneEvenWithoutLogs", "P", {Log(1, "S", 50, 250, 20)}, 1,
     {{"P  GR 01", 0, 0, 0, 0}, {"S  GR 01", 1, 50, 250, 20}}},
    {"NoLogsAtAll", "S", {}, 0, {kNone}},
    {"SpeciesNAndBlankSpeciesAreLeftOut", "S",
     {Log(1, "N", 50, 250, 0), Log(2, " N", 50, 250, 0), Log(3, "  ", 50, 250, 0)}, 0, {kNone}},
    {"EmptyConditionStillGroups", "S", {Log(1, "S", "", "01", 50, 250, 0)}, 1,
     {kNone, {"S   01", 1, 50, 250, 0}}},
    {"LogWithoutGrossVolumeOpensAnEmptyGroup", "S", {Log(1, "F", 50, 0, 30)}, 0,
     {kNone, {"F  GR 01", 0, 0, 0, 0}}},
    {"VolumesCountAsWholeLitres", "S",
     {Log(1, "S", 50, 249.6, 19.7), Log(2, "S", 50, 0.4, 0), Log(3, "S", 50, std::nan(""), 0)}, 1,
     {{"S  GR 01", 1, 50, 250, 20}}},
    {"GroupsFollowLogNumberOrder", "S", {Log(5, "B", 10, 100, 0), Log(2, "A", 10, 100, 0)}, 2,
     {kNone, {"A  GR 01", 1, 10, 100, 0}, {"B  GR 01", 1, 10, 100, 0}}},
    TwelveGroupsAtMost(),
};
// clang-format on

class LoadSummaryCase : public ::testing::TestWithParam<SummaryCase> {};

// Sums are kept in decimetres and litres and multiplied by their constants
// once: 96 dm times 0.1 is not the double nearest 9.6, and every report and
// export of the summary keeps the product.
TEST_P(LoadSummaryCase, GroupsAndTotals) {
    const SummaryCase& c = GetParam();
    const LoadSummary s = ComputeLoadSummary(HeaderOf(c.headerSpecies, "GR", "01"), c.logs);
    ASSERT_EQ(s.NUM_GROUPS, static_cast<int>(c.groups.size()));
    EXPECT_EQ(s.TOTALLOGS, c.totalLogs);
    for (std::size_t i = 0; i < LoadSummary::kMaxGroups; ++i) {
        SCOPED_TRACE(i);
        const SummaryGroup& g = s.groups[i];
        if (i >= c.groups.size()) {
            EXPECT_EQ(g, SummaryGroup{});
            continue;
        }
        const Group& e = c.groups[i];
        EXPECT_EQ(g.SPCDPR, e.key);
        EXPECT_EQ(g.LOGNUMS, e.logs);
        EXPECT_EQ(g.LENGTH, e.dm * 0.1);
        EXPECT_EQ(g.GROSSVOL, e.gross * 0.001);
        EXPECT_EQ(g.CULLVOL, e.cull * 0.001);
        EXPECT_EQ(g.NETVOL, (e.gross - e.cull) * 0.001);
        EXPECT_NEAR(g.CULLPER, e.gross == 0 ? 0.0 : e.cull * 100.0 / e.gross, 1e-12);
    }
}

INSTANTIATE_TEST_SUITE_P(, LoadSummaryCase, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

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
