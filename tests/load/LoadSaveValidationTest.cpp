#include "load/LoadSaveValidation.h"

#include "common/ScriptedPrompt.h"

#include <gtest/gtest.h>

namespace brimlo {
namespace {

using testing::ScriptedPrompt;

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

SpCdPrTally ThirteenCombinations() {
    SpCdPrTally tally;
    for (char c = 'A'; c <= 'M'; ++c)
        tally.CountCombination(std::string(1, c), "GR", "01", nullptr);
    return tally;
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
