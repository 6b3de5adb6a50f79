#include "WorkspaceTestSupport.h"
#include "support/BrimloError.h"

namespace brimlo::testing {
namespace {

class ReactionsMeasuresTest : public ShownLoadFixture {
protected:
    // A log of 30/20/50 under Smalian's formula: 256 litres.
    void keySmalianLog() { Key(*doc, {{"BUTTD", 30}, {"TOPD", 20}, {"LENGTH", 50}}); }

    ScriptedPrompt prompt;
};

TEST_F(ReactionsMeasuresTest, MeasurementsRecomputeTheGrossVolume) {
    keySmalianLog();
    EXPECT_EQ(Int(log(), "GROSSVOL"), 256);
    Key(*doc, {{"BUTTD", 24}, {"LENGTH", 40}});
    EXPECT_EQ(Int(log(), "GROSSVOL"), 153);
    Key(*doc, {{"TOPD", 8}, {"BUTTD", 10}, {"LENGTH", 30}});
    EXPECT_EQ(Int(log(), "GROSSVOL"), 20);
    EXPECT_TRUE(log().isEditing()); // posting is the window's move
}

TEST_F(ReactionsMeasuresTest, TopDiameterZeroWipesTheLog) {
    keySmalianLog();
    Key(*doc, {{"CULL_TYPE", "3"}, {"CULL_METH", "3"}, {"C1", 10}, {"FLAG", "B"}, {"DBH", 12}});
    EXPECT_EQ(Int(log(), "CULLVOL"), 26);
    Key(*doc, "TOPD", int32_t{0});
    for (const char* f : {"LENGTH", "GROSSVOL", "BUTTD", "CULLVOL", "C1", "C2", "C3"})
        EXPECT_EQ(Int(log(), f), 0) << f;
    for (const char* f : {"CULL_TYPE", "CULL_METH", "FLAG"})
        EXPECT_EQ(Text(log(), f), "") << f;
    EXPECT_EQ(Text(log(), "SPECIES"), "S");
    EXPECT_EQ(Text(log(), "CONDCODE"), "GR");
    EXPECT_EQ(Text(log(), "PRODCODE"), "01");
    EXPECT_EQ(Int(log(), "DBH"), 12);
    EXPECT_TRUE(doc->flags().ReactionsEnabled);
}

TEST_F(ReactionsMeasuresTest, LengthZeroWipesTheTopDiameterToo) {
    keySmalianLog();
    Key(*doc, "LENGTH", int32_t{0});
    EXPECT_EQ(Int(log(), "TOPD"), 0);
    EXPECT_EQ(Int(log(), "BUTTD"), 0);
    EXPECT_EQ(Int(log(), "GROSSVOL"), 0);
}

TEST_F(ReactionsMeasuresTest, RefusedValueStaysInTheEditedLog) {
    keySmalianLog();
    try {
        Key(*doc, "TOPD", int32_t{21});
        FAIL() << "an odd top diameter passed";
    } catch (const BrimloError& e) {
        EXPECT_EQ(e.text(), "Top Diameter must be an even number");
    }
    EXPECT_TRUE(log().isEditing());
    EXPECT_EQ(Int(log(), "TOPD"), 21);
    EXPECT_EQ(Int(log(), "GROSSVOL"), 256); // the reaction stopped before recomputing
    EXPECT_TRUE(doc->flags().ReactionsEnabled);
    EXPECT_THROW(Key(*doc, "LENGTH", int32_t{74}), BrimloError);
    EXPECT_THROW(Key(*doc, "BUTTD", int32_t{6}), BrimloError);
}

TEST_F(ReactionsMeasuresTest, ButtDiameterUnderAlbertaChangesNoVolume) {
    Key(*doc, "BUTTD", int32_t{30});
    doc->log().post();
    doc->header().edit();
    doc->header().setField("VOL_CALC_METH", "A");
    EXPECT_EQ(Int(log(), "GROSSVOL"), 198);
    Key(*doc, "BUTTD", int32_t{40});
    EXPECT_EQ(Int(log(), "GROSSVOL"), 198);
    EXPECT_THROW(Key(*doc, "BUTTD", int32_t{18}), BrimloError); // still checked
}

TEST_F(ReactionsMeasuresTest, LengthEditPresetsTheDefaultLength) {
    Key(*doc, "BUTTD", int32_t{30});
    Key(*doc, "LENGTH", int32_t{0}); // wipes the top diameter
    Key(*doc, "TOPD", int32_t{20});
    EXPECT_EQ(Int(log(), "LENGTH"), 0);
    doc->reactions().edtLengthEnter();
    EXPECT_EQ(Int(log(), "LENGTH"), 50);
    EXPECT_EQ(view.selected, std::vector<LoadControl>{LoadControl::Length});
    // A length already there stays.
    Key(*doc, "LENGTH", int32_t{40});
    doc->reactions().edtLengthEnter();
    EXPECT_EQ(Int(log(), "LENGTH"), 40);
}

TEST_F(ReactionsMeasuresTest, LengthWithoutTopDiameterIsRefusedOnLeaving) {
    Key(*doc, "TOPD", int32_t{0});
    // The edit writes its field before its exit reaction runs.
    Key(*doc, "LENGTH", int32_t{40});
    prompt.expect("Can only enter length if top diameter is greater than 0.");
    doc->reactions().edtLengthExit();
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(prompt.shown().back().caption, "Length Error");
    EXPECT_EQ(prompt.shown().back().icon, PromptIcon::Error);
    EXPECT_EQ(Int(log(), "LENGTH"), 0);
    EXPECT_EQ(view.focuses.back().first, LoadControl::Length);
}

TEST_F(ReactionsMeasuresTest, ActualLengthSetsTheLengthOnlyInTrimAllowanceMode) {
    Key(*doc, {{"BUTTD", 30}, {"ACT_LENGTH", 215}});
    EXPECT_EQ(Int(log(), "LENGTH"), 50);
    doc->reactions().chkTrimAllowanceClick(true);
    EXPECT_EQ(view.trimMode, std::optional<bool>(true));
    const std::pair<int, int> bands[] = {{51, 6},   {215, 22}, {239, 24}, {240, 24}, {355, 34},
                                         {356, 36}, {365, 36}, {366, 36}, {480, 46}, {481, 48},
                                         {490, 48}, {491, 48}, {500, 48}, {745, 72}};
    for (const auto& [cm, dm] : bands) {
        Key(*doc, "ACT_LENGTH", int32_t{cm});
        EXPECT_EQ(Int(log(), "LENGTH"), dm) << cm;
    }
    // 72 dm: 30/20/72 by Smalian's formula, halves 254.47 and 113.10.
    EXPECT_EQ(Int(log(), "GROSSVOL"), 367);
    try {
        Key(*doc, "ACT_LENGTH", int32_t{746});
        FAIL();
    } catch (const BrimloError& e) {
        EXPECT_EQ(e.text(), "The Act Length must be a value between 51 and 745 cm.");
    }
    EXPECT_EQ(Int(log(), "LENGTH"), 72);
    EXPECT_THROW(Key(*doc, "ACT_LENGTH", int32_t{50}), BrimloError);
    // The length's own range check is off in this mode.
    EXPECT_NO_THROW(Key(*doc, "LENGTH", int32_t{73}));
    Key(*doc, "ACT_LENGTH", Value());
    EXPECT_EQ(Int(log(), "LENGTH"), 73);
}

TEST_F(ReactionsMeasuresTest, UndersizeRuleFollowsTheTopDiameter) {
    keySmalianLog();
    Key(*doc, {{"PRODCODE", "02"}, {"TOPD", 8}});
    EXPECT_EQ(Text(log(), "PRODCODE"), "99");
    Key(*doc, "TOPD", int32_t{10});
    EXPECT_EQ(Text(log(), "PRODCODE"), "01"); // the header product, re-derived
    // A small conifer back from undersize becomes a small stem: 12/10/40 is 39 litres.
    Key(*doc, {{"BUTTD", 12}, {"LENGTH", 40}});
    EXPECT_EQ(Int(log(), "GROSSVOL"), 39);
    EXPECT_EQ(Text(log(), "PRODCODE"), "06");
    Key(*doc, "TOPD", int32_t{8});
    EXPECT_EQ(Text(log(), "PRODCODE"), "99");
    Key(*doc, "TOPD", int32_t{10});
    EXPECT_EQ(Text(log(), "PRODCODE"), "06");
}

TEST_F(ReactionsMeasuresTest, OverriddenLogEscapesBothRules) {
    keySmalianLog();
    Key(*doc, {{"PROD_OVERRIDE", "Y"}, {"TOPD", 8}});
    EXPECT_EQ(Text(log(), "PRODCODE"), "01");
    Key(*doc, {{"BUTTD", 12}, {"TOPD", 10}, {"LENGTH", 40}});
    EXPECT_EQ(Text(log(), "PRODCODE"), "01");
}

TEST_F(ReactionsMeasuresTest, SawlogRuleUnderSmalian) {
    Key(*doc, {{"BUTTD", 22}, {"LENGTH", 40}});
    EXPECT_EQ(Int(log(), "GROSSVOL"), 139);
    EXPECT_EQ(Text(log(), "PRODCODE"), "01");
    Key(*doc, {{"BUTTD", 20}, {"TOPD", 12}, {"BUTTD", 12}, {"TOPD", 10}});
    EXPECT_EQ(Text(log(), "PRODCODE"), "06");
    // Deciduous logs are never small stems.
    Key(*doc, "SPECIES", "A");
    EXPECT_EQ(Text(log(), "PRODCODE"), "01");
}

} // namespace
} // namespace brimlo::testing
