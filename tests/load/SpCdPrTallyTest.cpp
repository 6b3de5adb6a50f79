#include "load/SpCdPrTally.h"

#include "common/ScriptedPrompt.h"
#include "load/LoadSaveValidation.h"
#include "load/LoadSummary.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace brimlo::testing {
namespace {

const std::string kWarning13 = "There are 13 Sp-Cd-Pr combinations. The maximum number of "
                               "combinations that are processed is 12";

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

// Thirteen distinct, fully coded combinations, species "A" .. "M", counted
// as reading a file counts them.
SpCdPrTally ThirteenCombinations() {
    std::vector<LogRecord> logs;
    for (char c = 'A'; c <= 'M'; ++c)
        logs.push_back(Log(1, std::string(1, c), "GR", "01", 50, 250, 0));
    SpCdPrTally tally;
    tally.CountLogs(logs);
    return tally;
}

// The tally right-aligns each code in two characters, untrimmed; the
// summary pads only the species.
TEST(SpCdPrTally, KeysOfTheTallyAndTheSummary) {
    const struct {
        const char *sp, *cd, *pr, *tally, *summary;
    } cases[] = {
        {"S", "GR", "01", " SGR01", "S  GR 01"},  {"SP", "D", "01", "SP D01", "SP D 01"},
        {"S ", "GR", "01", "S GR01", "S  GR 01"}, {"S", "D", "01", " S D01", "S  D 01"},
        {"S", "", "01", " S  01", "S   01"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TallyKey(c.sp, c.cd, c.pr), c.tally) << c.summary;
        EXPECT_EQ(SummaryGroupKey(c.sp, c.cd, c.pr), c.summary);
    }
}

// Codes are compared untrimmed and case-sensitive; a log without all three
// is not counted. Releasing the last log of a combination takes it out.
TEST(SpCdPrTally, CountsAndReleasesLogsPerFullyCodedCombination) {
    using Entries = std::vector<SpCdPrTally::Entry>;
    SpCdPrTally tally;
    ScriptedPrompt prompt; // no box below twelve
    for (const auto& [sp, cd, pr] : {std::tuple{"S", "GR", "01"},
                                     {"S", "GR", "01"},
                                     {"SP", "D", "01"},
                                     {"S ", "GR", "01"},
                                     {"s", "GR", "01"},
                                     {"S", "", "01"},
                                     {"S", "GR", "  "},
                                     {" ", "GR", "01"}})
        tally.CountCombination(sp, cd, pr, &prompt);
    EXPECT_EQ(tally.CountText(), "SP-CD-PR Combinations: 4");
    EXPECT_EQ(tally.entries(),
              (Entries{{" SGR01", 2}, {"SP D01", 1}, {"S GR01", 1}, {" sGR01", 1}}));
    EXPECT_EQ(tally.logsOf("S GR01"), 1);
    EXPECT_EQ(tally.logsOf("SPGR01"), 0);
    for (const auto& [sp, cd, pr] :
         {std::tuple{"S", "", "01"}, {"Z", "GR", "01"}, {"S", "GR", "01"}, {"SP", "D", "01"}})
        tally.ReleaseCombination(sp, cd, pr);
    EXPECT_EQ(tally.combinationCount(), 3);
    EXPECT_EQ(tally.entries(), (Entries{{" SGR01", 1}, {"S GR01", 1}, {" sGR01", 1}}));
    tally.Clear();
    EXPECT_EQ(tally.combinationCount(), 0);
    EXPECT_TRUE(tally.entries().empty());
}

TEST(SpCdPrTally, WarnsForEveryLogCountedWithWarnBeyondTwelve) {
    SpCdPrTally tally;
    ScriptedPrompt prompt;
    for (char c = 'A'; c <= 'L'; ++c)
        tally.CountCombination(std::string(1, c), "GR", "01", &prompt);
    prompt.expect(kWarning13).expect(kWarning13);
    tally.CountCombination("M", "GR", "01", &prompt);
    tally.CountCombination("A", "GR", "01", &prompt);
    tally.CountCombination("A", "GR", "01", nullptr);
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(prompt.shown().back().caption, "Warning");
    EXPECT_EQ(prompt.shown().back().icon, PromptIcon::Warning);
    EXPECT_EQ(prompt.shown().back().buttons, PromptButtons::Ok);
    EXPECT_EQ(tally.CountText(), "SP-CD-PR Combinations: 13");
    // Counts print padded to two digits.
    EXPECT_EQ(OverTwelveWarningText(5), "There are  5 Sp-Cd-Pr combinations. The maximum number "
                                        "of combinations that are processed is 12");
    EXPECT_EQ(OverTwelveWarningText(130).substr(0, 14), "There are 130 ");
}

TEST(SpCdPrTally, BeyondTwentyFourCombinationsOnlyTheCountGrows) {
    SpCdPrTally tally;
    for (int i = 0; i < 24; ++i)
        tally.CountCombination(std::to_string(10 + i), "GR", "01", nullptr);
    ASSERT_EQ(tally.entries().size(), 24u);
    tally.CountCombination("ZZ", "GR", "01", nullptr);
    EXPECT_EQ(tally.combinationCount(), 25);
    tally.CountCombination("ZZ", "GR", "01", nullptr);
    EXPECT_EQ(tally.combinationCount(), 26);
    tally.ReleaseCombination("ZZ", "GR", "01");
    EXPECT_EQ(tally.combinationCount(), 26);
    EXPECT_EQ(tally.entries().size(), 24u);
    // A place freed by a release is not refilled while the count is past 24.
    tally.ReleaseCombination("10", "GR", "01");
    EXPECT_EQ(tally.combinationCount(), 25);
    tally.CountCombination("YY", "GR", "01", nullptr);
    EXPECT_EQ(tally.combinationCount(), 26);
    EXPECT_EQ(tally.entries().size(), 23u);
    EXPECT_EQ(tally.logsOf("YYGR01"), 0);
}

const std::string kMethod = "Smalian's Formula";

LoadData SavableLoad() {
    LoadData load;
    load.header.DISP = "CTL";
    load.header.HTOPD = 10;
    load.header.DATEWEIGHED = Date::fromYmd(2000, 6, 1);
    load.header.SCALER_NAME = "J SMITH";
    load.header.SCALER_PERMIT = "P123";
    return load;
}

struct Refusal {
    void (*spoil)(LoadData&);
    std::string text;
    SaveCheckField field;
    std::string method = kMethod;
};

TEST(LoadSaveValidation, FirstFailingCheckStopsTheSave) {
    const Refusal refusals[] = {
        {[](LoadData& l) { l.header.SOURCE.assign(1, 'X'); },
         "Cannot have values for both disposition and source", SaveCheckField::Disposition},
        {[](LoadData& l) {
             l.header.DISP = "";
             l.header.SOURCE = "FMA mill";
         },
         "Source field cannot contain dispositions: CTL,CTP,DTL,DTP,FMA", SaveCheckField::Source},
        {[](LoadData& l) { l.header.HTOPD = 0; },
         "Top Diameter must be between 2 and 76 (inclusive)", SaveCheckField::HeaderTopD},
        {[](LoadData& l) { l.header.DATEWEIGHED = Date::fromYmd(1899, 12, 31); },
         "Date Weighed must be later than 1900", SaveCheckField::DateWeighed},
        {[](LoadData& l) { l.header.SCALER_NAME = "   "; }, "Scaler Name must have a value",
         SaveCheckField::ScalerName},
        {[](LoadData& l) {
             l.header.SCALER_PERMIT = "";
             l.header.HTOPD = 76;
         },
         "Scaler Permit must have a value", SaveCheckField::ScalerPermit},
        {[](LoadData&) {}, "Volume Calculation Method must be defined.",
         SaveCheckField::VolumeMethod, ""},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.text);
        LoadData load = SavableLoad();
        r.spoil(load);
        ScriptedPrompt prompt;
        prompt.expect(r.text);
        SaveCheckField failed = SaveCheckField::None;
        // The over-twelve question never comes after a failed check: it
        // would fail the test.
        EXPECT_FALSE(ValidateLoadForSave(load, ThirteenCombinations(), r.method, prompt, &failed));
        EXPECT_EQ(failed, r.field);
    }
}

TEST(LoadSaveValidation, SavableLoadPassesAndTheOverTwelveQuestionComesLast) {
    ScriptedPrompt prompt;
    SaveCheckField failed = SaveCheckField::Combinations;
    EXPECT_TRUE(ValidateLoadForSave(SavableLoad(), SpCdPrTally{}, kMethod, prompt, &failed));
    EXPECT_EQ(failed, SaveCheckField::None);
    EXPECT_TRUE(prompt.shown().empty());
    const std::string question = kWarning13 + ". Save data?";
    prompt.expect(question, PromptAnswer::No);
    EXPECT_FALSE(
        ValidateLoadForSave(SavableLoad(), ThirteenCombinations(), kMethod, prompt, &failed));
    EXPECT_EQ(failed, SaveCheckField::Combinations);
    EXPECT_EQ(prompt.shown().back().caption, "Warning");
    EXPECT_EQ(prompt.shown().back().buttons, PromptButtons::YesNo);
    prompt.expect(question, PromptAnswer::Yes);
    EXPECT_TRUE(ValidateLoadForSave(SavableLoad(), ThirteenCombinations(), kMethod, prompt));
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
    std::vector<Group> groups;
};

LogRecord Log(int32_t number, const std::string& sp, int16_t length, double gross, double cull) {
    return Log(number, sp, "GR", "01", length, gross, cull);
}

const Group kNone = {"S  GR 01", 0, 0, 0, 0};

// Eleven more combinations fill the twelve groups (species N takes no place);
// a thirteenth is left out.
SummaryCase TwelveGroupsAtMost() {
    SummaryCase c{"TwelveGroupsAtMost", "S", {Log(0, "N", 10, 100, 0)}, {kNone}};
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
    {"TwoLogsOfOneCombination", "S", {Log(1, "S", 50, 250, 20), Log(2, "S", 46, 198, 0)},
     {{"S  GR 01", 2, 96, 448, 20}}},
    {"HeaderCombinationIsGroupOneEvenWithoutLogs", "P", {Log(1, "S", 50, 250, 20)},
     {{"P  GR 01", 0, 0, 0, 0}, {"S  GR 01", 1, 50, 250, 20}}},
    {"NoLogsAtAll", "S", {}, {kNone}},
    {"SpeciesNAndBlankSpeciesAreLeftOut", "S",
     {Log(1, "N", 50, 250, 0), Log(2, " N", 50, 250, 0), Log(3, "  ", 50, 250, 0)}, {kNone}},
    {"EmptyConditionStillGroups", "S", {Log(1, "S", "", "01", 50, 250, 0)},
     {kNone, {"S   01", 1, 50, 250, 0}}},
    {"LogWithoutGrossVolumeOpensAnEmptyGroup", "S", {Log(1, "F", 50, 0, 30)},
     {kNone, {"F  GR 01", 0, 0, 0, 0}}},
    {"VolumesCountAsWholeLitres", "S",
     {Log(1, "S", 50, 249.6, 19.7), Log(2, "S", 50, 0.4, 0), Log(3, "S", 50, std::nan(""), 0)},
     {{"S  GR 01", 1, 50, 250, 20}}},
    {"GroupsFollowLogNumberOrder", "S", {Log(5, "B", 10, 100, 0), Log(2, "A", 10, 100, 0)},
     {kNone, {"A  GR 01", 1, 10, 100, 0}, {"B  GR 01", 1, 10, 100, 0}}},
    TwelveGroupsAtMost(),
};
// clang-format on

// Expects these groups, the rest empty, and their logs as the total. Sums
// are kept in decimetres and litres and multiplied by their constants once:
// 96 dm times 0.1 is not the double nearest 9.6, and every report and
// export of the summary keeps the product.
void ExpectSummary(const LoadSummary& s, const std::vector<Group>& groups) {
    ASSERT_EQ(s.NUM_GROUPS, static_cast<int>(groups.size()));
    int total = 0;
    for (std::size_t i = 0; i < LoadSummary::kMaxGroups; ++i) {
        SCOPED_TRACE(i);
        const SummaryGroup& g = s.groups[i];
        if (i >= groups.size()) {
            EXPECT_EQ(g, SummaryGroup{});
            continue;
        }
        const Group& e = groups[i];
        total += e.logs;
        EXPECT_EQ(g.SPCDPR, e.key);
        EXPECT_EQ(g.LOGNUMS, e.logs);
        EXPECT_EQ(g.LENGTH, e.dm * 0.1);
        EXPECT_EQ(g.GROSSVOL, e.gross * 0.001);
        EXPECT_EQ(g.CULLVOL, e.cull * 0.001);
        EXPECT_EQ(g.NETVOL, (e.gross - e.cull) * 0.001);
        EXPECT_NEAR(g.CULLPER, e.gross == 0 ? 0.0 : e.cull * 100.0 / e.gross, 1e-12);
    }
    EXPECT_EQ(s.TOTALLOGS, total);
}

class LoadSummaryCase : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(LoadSummaryCase, GroupsAndTotals) {
    const SummaryCase& c = GetParam();
    ExpectSummary(ComputeLoadSummary(HeaderOf(c.headerSpecies, "GR", "01"), c.logs), c.groups);
}

INSTANTIATE_TEST_SUITE_P(, LoadSummaryCase, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A second, plainer way to the same groups: logs in number order, a group
// opened where its combination first appears, twelve at most.
std::vector<Group> Reference(const HeaderRecord& h, std::vector<LogRecord> logs) {
    std::stable_sort(logs.begin(), logs.end(),
                     [](const LogRecord& a, const LogRecord& b) { return a.LOGNUM < b.LOGNUM; });
    auto key = [](std::string sp, const std::string& cd, const std::string& pr) {
        sp.resize(std::max<std::size_t>(sp.size(), 2), ' ');
        return sp + ' ' + cd + ' ' + pr;
    };
    std::vector<Group> groups{{key(h.HSPECIES, h.HCONDCODE, h.HPRODCODE), 0, 0, 0, 0}};
    for (const LogRecord& log : logs) {
        std::string species = log.SPECIES;
        std::erase(species, ' ');
        const std::string k = key(log.SPECIES, log.CONDCODE, log.PRODCODE);
        auto g =
            std::find_if(groups.begin(), groups.end(), [&](const Group& x) { return x.key == k; });
        if (species.empty() || species == "N" || (g == groups.end() && groups.size() == 12))
            continue;
        if (g == groups.end())
            g = groups.insert(groups.end(), Group{k, 0, 0, 0, 0});
        if (log.GROSSVOL > 0)
            *g = {k, g->logs + 1, g->dm + log.LENGTH, g->gross + static_cast<int>(log.GROSSVOL),
                  g->cull + static_cast<int>(log.CULLVOL)};
    }
    return groups;
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
        SCOPED_TRACE("round " + std::to_string(round));
        ExpectSummary(ComputeLoadSummary(h, logs), Reference(h, logs));
    }
}

} // namespace
} // namespace brimlo::testing
