#include "load/SpCdPrTally.h"

#include "common/ScriptedPrompt.h"
#include "load/LoadSaveValidation.h"

#include <gtest/gtest.h>

namespace brimlo {
namespace {

using testing::ScriptedPrompt;

const std::string kWarning13 = "There are 13 Sp-Cd-Pr combinations. The maximum number of "
                               "combinations that are processed is 12";

// Thirteen distinct, fully coded combinations: species "A" .. "M".
SpCdPrTally ThirteenCombinations() {
    SpCdPrTally tally;
    for (char c = 'A'; c <= 'M'; ++c)
        tally.CountCombination(std::string(1, c), "GR", "01", nullptr);
    return tally;
}

TEST(SpCdPrTally, KeysRightAlignEachCodeInTwoCharacters) {
    EXPECT_EQ(TallyKey("S", "GR", "01"), " SGR01");
    EXPECT_EQ(TallyKey("SP", "D", "01"), "SP D01");
    EXPECT_EQ(TallyKey("S ", "GR", "01"), "S GR01");
}

// Codes are compared untrimmed and case-sensitive; a log without all three
// is not counted.
TEST(SpCdPrTally, CountsLogsPerFullyCodedCombination) {
    SpCdPrTally tally;
    ScriptedPrompt prompt;
    for (const auto& [sp, cd, pr] : {std::tuple{"S", "GR", "01"},
                                     {"S", "GR", "01"},
                                     {"SP", "D", "01"},
                                     {"S ", "GR", "01"},
                                     {"s", "GR", "01"},
                                     {"S", "", "01"},
                                     {"S", "GR", "  "},
                                     {" ", "GR", "01"}})
        tally.CountCombination(sp, cd, pr, &prompt);
    EXPECT_EQ(tally.combinationCount(), 4);
    EXPECT_EQ(tally.entries().size(), 4u);
    EXPECT_EQ(tally.CountText(), "SP-CD-PR Combinations: 4");
    EXPECT_EQ(tally.logsOf(" SGR01"), 2);
    EXPECT_EQ(tally.logsOf("SP D01"), 1);
    EXPECT_EQ(tally.logsOf("S GR01"), 1);
    EXPECT_EQ(tally.logsOf(" sGR01"), 1);
    tally.ReleaseCombination("S", "", "01");
    EXPECT_EQ(tally.logsOf(" SGR01"), 2);
}

TEST(SpCdPrTally, ReleasingTheLastLogRemovesTheCombination) {
    SpCdPrTally tally;
    tally.CountCombination("A", "GR", "01", nullptr);
    tally.CountCombination("B", "GR", "01", nullptr);
    tally.CountCombination("B", "GR", "01", nullptr);
    tally.CountCombination("C", "GR", "01", nullptr);
    tally.ReleaseCombination("B", "GR", "01");
    EXPECT_EQ(tally.combinationCount(), 3);
    tally.ReleaseCombination("A", "GR", "01");
    EXPECT_EQ(tally.combinationCount(), 2);
    EXPECT_EQ(tally.CountText(), "SP-CD-PR Combinations: 2");
    ASSERT_EQ(tally.entries().size(), 2u);
    EXPECT_EQ(tally.entries()[0], SpCdPrTally::Entry(" BGR01", 1));
    EXPECT_EQ(tally.entries()[1], SpCdPrTally::Entry(" CGR01", 1));
    tally.ReleaseCombination("Z", "GR", "01");
    EXPECT_EQ(tally.combinationCount(), 2);
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
    ASSERT_EQ(prompt.shown().size(), 2u);
    EXPECT_EQ(prompt.shown()[0].caption, "Warning");
    EXPECT_EQ(prompt.shown()[0].icon, PromptIcon::Warning);
    EXPECT_EQ(prompt.shown()[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(tally.CountText(), "SP-CD-PR Combinations: 13");
}

TEST(SpCdPrTally, OverTwelveWarningAndSaveQuestionAfterCounting) {
    SpCdPrTally tally;
    ScriptedPrompt prompt;
    tally.WarnIfOverTwelve(prompt);
    EXPECT_TRUE(tally.AskSaveIfOverTwelve(prompt));
    tally = ThirteenCombinations();
    prompt.expect(kWarning13);
    tally.WarnIfOverTwelve(prompt);
    prompt.expect(kWarning13 + ". Save data?", PromptAnswer::No);
    EXPECT_FALSE(tally.AskSaveIfOverTwelve(prompt));
    prompt.expect(kWarning13 + ". Save data?", PromptAnswer::Yes);
    EXPECT_TRUE(tally.AskSaveIfOverTwelve(prompt));
    ASSERT_EQ(prompt.shown().size(), 3u);
    EXPECT_EQ(prompt.shown()[1].buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompt.shown()[1].caption, "Warning");
}

TEST(SpCdPrTally, CountsPrintPaddedToTwoDigits) {
    EXPECT_EQ(OverTwelveWarningText(5), "There are  5 Sp-Cd-Pr combinations. The maximum number "
                                        "of combinations that are processed is 12");
    EXPECT_EQ(OverTwelveWarningText(130).substr(0, 14), "There are 130 ");
}

TEST(SpCdPrTally, BeyondTwentyFourCombinationsOnlyTheCountGrows) {
    SpCdPrTally tally;
    ScriptedPrompt prompt;
    prompt.allowAny();
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

TEST(SpCdPrTally, CountLogsCountsWithoutWarningAndClearEmpties) {
    std::vector<LogRecord> logs(13);
    for (int i = 0; i < 13; ++i) {
        logs[i].SPECIES = std::string(1, static_cast<char>('A' + i));
        logs[i].CONDCODE = "GR";
        logs[i].PRODCODE = "01";
    }
    SpCdPrTally tally;
    ScriptedPrompt prompt; // no box expected
    tally.CountLogs(logs);
    EXPECT_EQ(tally.combinationCount(), 13);
    tally.Clear();
    EXPECT_EQ(tally.combinationCount(), 0);
    EXPECT_TRUE(tally.entries().empty());
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
        // The over-twelve question never comes after a failed check.
        EXPECT_FALSE(ValidateLoadForSave(load, ThirteenCombinations(), r.method, prompt, &failed));
        EXPECT_EQ(failed, r.field);
        EXPECT_EQ(prompt.shown().size(), 1u);
    }
}

TEST(LoadSaveValidation, SavableLoadPassesAndTheOverTwelveQuestionComesLast) {
    ScriptedPrompt prompt;
    SaveCheckField failed = SaveCheckField::Combinations;
    EXPECT_TRUE(ValidateLoadForSave(SavableLoad(), SpCdPrTally{}, kMethod, prompt, &failed));
    EXPECT_EQ(failed, SaveCheckField::None);
    EXPECT_TRUE(prompt.shown().empty());
    const std::string question = "There are 13 Sp-Cd-Pr combinations. The maximum number of "
                                 "combinations that are processed is 12. Save data?";
    prompt.expect(question, PromptAnswer::No);
    EXPECT_FALSE(
        ValidateLoadForSave(SavableLoad(), ThirteenCombinations(), kMethod, prompt, &failed));
    EXPECT_EQ(failed, SaveCheckField::Combinations);
    prompt.expect(question, PromptAnswer::Yes);
    EXPECT_TRUE(ValidateLoadForSave(SavableLoad(), ThirteenCombinations(), kMethod, prompt));
}

} // namespace
} // namespace brimlo
