#include "WorkspaceTestSupport.h"

namespace brimlo::testing {
namespace {

// The log controls driven as the scaler meets them, on a first log keyed
// 30/20/50 (256 litres by Smalian's formula); a control writes its field
// when it is left, before its exit reaction.
class ReactionsCullTest : public ShownLoadFixture {
protected:
    void SetUp() override {
        ShownLoadFixture::SetUp();
        Key(*doc, "BUTTD", int32_t{30});
    }

    CullEntry& cull() { return doc->cull(); }

    void chooseType(const std::string& type) {
        cull().cbTypeEnter();
        cull().cbTypeChange(type);
        Key(*doc, "CULL_TYPE", type);
        cull().cbTypeExit(type);
    }

    void chooseMethod(const std::string& method) {
        cull().cbMethodEnter();
        cull().cbMethodChange(method);
        Key(*doc, "CULL_METH", method);
        cull().cbMethodExit();
    }

    void keyMeasure(int n, int value) {
        const std::string field = "C" + std::to_string(n);
        Key(*doc, field.c_str(), int32_t{value});
    }
};

TEST_F(ReactionsCullTest, CullTypeNeedsAGrossVolume) {
    Key(*doc, "BUTTD", int32_t{0});
    ASSERT_EQ(Int(log(), "GROSSVOL"), 0);
    cull().cbTypeChange("3");
    Key(*doc, "CULL_TYPE", "3");
    prompt.expect("Can only enter cull type if gross volume is greater than 0.");
    cull().cbTypeExit("3");
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(prompt.shown().back().caption, "Cull Error");
    ExpectTexts(log(), {{"CULL_TYPE", ""}, {"CULL_METH", ""}});
    ExpectInts(log(), {{"C1", 0}, {"C2", 0}, {"C3", 0}, {"CULLVOL", 0}});
    EXPECT_EQ(view.focuses.back().first, LoadControl::CullType);
    EXPECT_EQ(view.lastStatus(), "SP-CD-PR Combinations: 1");
    // A blank choice is no cull type and is not refused: a box would fail the test.
    cull().cbTypeExit(" ");
}

// The percent reduction follows C1; choosing the same method again keeps
// the measurements, another method clears them.
TEST_F(ReactionsCullTest, PercentReductionFollowsC1UntilTheMethodChanges) {
    chooseType("3");
    chooseMethod("3");
    keyMeasure(1, 66);
    EXPECT_EQ(Int(log(), "CULLVOL"), 169);
    keyMeasure(1, 67);
    EXPECT_EQ(Int(log(), "CULLVOL"), 256);
    // Emptied, C1 becomes 0 and the method's gate gives no cull.
    Key(*doc, "C1", Value());
    EXPECT_FALSE(log().field("C1").isNull());
    ExpectInts(log(), {{"C1", 0}, {"CULLVOL", 0}});
    keyMeasure(1, 10);
    cull().cbMethodChange("3");
    ExpectInts(log(), {{"C1", 10}, {"CULLVOL", 26}});
    cull().cbMethodChange("4");
    ExpectInts(log(), {{"C1", 0}, {"CULLVOL", 0}});
}

// Heart rot presets its default method and the length. Entering the method
// names the type's default or the selected method; entering a measurement
// asks for what the method takes.
TEST_F(ReactionsCullTest, HeartRotPresetsAndTheStatusLineGuides) {
    cull().cbTypeEnter();
    EXPECT_EQ(view.lastStatus(), "Enter Cull Type (1-7)");
    cull().cbTypeChange("1");
    EXPECT_EQ(Text(log(), "CULL_METH"), "6");
    ExpectInts(log(), {{"C3", 50}, {"CULLVOL", 0}});
    Key(*doc, "CULL_TYPE", "1");
    cull().cbTypeExit("1");
    EXPECT_EQ(view.lastStatus(), "SP-CD-PR Combinations: 1");
    EXPECT_EQ(Int(log(), "CULLVOL"), 0); // until a measurement is keyed
    EXPECT_TRUE(doc->flags().ReactionsEnabled);
    cull().cbMethodEnter();
    EXPECT_EQ(view.lastStatus(), "Heart Rot - Default Cull Deduction Method --- Interior Log "
                                 "Reduction ");
    chooseMethod("5");
    cull().cbMethodEnter();
    EXPECT_EQ(view.lastStatus(),
              "Heart Rot - Selected Cull Deduction Method --- Blocking Out Reduction ");
    chooseType("3");
    chooseMethod("1");
    cull().edtC1Enter();
    EXPECT_EQ(view.lastStatus(),
              "Sap Rot - Diameter Reduction - Enter Sound Wood Butt Diameter (cm)");
    cull().edtC2Enter();
    EXPECT_EQ(view.lastStatus(),
              "Sap Rot - Diameter Reduction - Enter Sound Wood Top Diameter (cm)");
    cull().edtC3Enter(); // the method takes no C3: no prompt follows
    EXPECT_EQ(view.lastStatus(), "Sap Rot - Diameter Reduction - ");
}

TEST_F(ReactionsCullTest, MethodsAndMeasurementsTheTypeRefusesFailWhenWritten) {
    chooseType("1");
    cull().cbMethodChange("8");
    ExpectError([&] { Key(*doc, "CULL_METH", "8"); },
                "Invalid Cull Method '8' entered for Cull Type '1'");
    EXPECT_EQ(Text(log(), "CULL_METH"), "8");
    EXPECT_TRUE(log().isEditing());
    // End rot refuses an empty large end.
    chooseType("2");
    chooseMethod("8");
    ExpectError([&] { Key(*doc, "C1", Value()); },
                "Large end log diameter has to be greater than or equal to the top diameter.");
}

// A method is refused without a type. A measurement is refused, cleared and
// focused without a method, and when the method takes none; C2 under the
// diameter reduction only under the Alberta rule.
TEST_F(ReactionsCullTest, MethodsAndMeasurementsComeInTheirOrder) {
    prompt.expect("Cull Error: Cull Type must be entered first");
    cull().cbMethodEnter();
    EXPECT_EQ(view.lastStatus(), "SP-CD-PR Combinations: 1"); // unchanged
    cull().cbMethodChange("3");
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(prompt.shown().back().caption, "Cull Error");
    EXPECT_EQ(Text(log(), "CULL_METH"), "");
    EXPECT_EQ(view.selectorTexts.back(), std::make_pair(LoadControl::CullMethod, std::string()));
    const struct {
        const char* method;
        int measure;
        LoadControl control;
        const char* error;
    } cases[] = {
        {"", 1, LoadControl::C1, "Cull Method must be entered first"},
        {"", 2, LoadControl::C2, "Cull Method must be entered first"},
        {"", 3, LoadControl::C3, "Cull Method must be entered first"},
        {"2", 2, LoadControl::C2, "Cannot enter C2 with this cull method"},
        {"3", 3, LoadControl::C3, "Cannot enter C3 with this cull method"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        if (*c.method != '\0') {
            chooseType("3");
            chooseMethod(c.method);
        }
        if (std::string(c.method) == "3")
            keyMeasure(1, 10);
        prompt.expect(std::string("Cull Error: ") + c.error);
        keyMeasure(c.measure, 5);
        EXPECT_TRUE(prompt.allExpectedShown());
        EXPECT_EQ(Int(log(), ("C" + std::to_string(c.measure)).c_str()), 0);
        EXPECT_EQ(view.focuses.back(), std::make_pair(c.control, true));
    }
    EXPECT_EQ(Int(log(), "CULLVOL"), 26); // C1 of 10 percent stays

    chooseMethod("1");
    keyMeasure(2, 16);
    EXPECT_EQ(Int(log(), "C2"), 16); // a box would fail the test
    doc->log().post();
    SetHeader(*doc, "VOL_CALC_METH", "A");
    prompt.expect("Cull Error: Cannot enter C2 with this cull method");
    keyMeasure(2, 5);
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(Int(log(), "C2"), 0);
}

TEST_F(ReactionsCullTest, LeavingMeasurementsSkipsThoseTheMethodDoesNotTake) {
    chooseType("3");
    chooseMethod("3");
    cull().edtC1Exit();
    EXPECT_EQ(view.tabs, 2);
    EXPECT_EQ(view.lastStatus(), "SP-CD-PR Combinations: 1");
    doc->flags().BackTab = true;
    cull().edtC1Exit();
    EXPECT_EQ(view.tabs, 2);
    doc->flags().BackTab = false;

    chooseMethod("4");
    cull().edtC1Exit();
    EXPECT_EQ(view.tabs, 2);
    cull().edtC2Exit();
    EXPECT_EQ(view.tabs, 3);

    chooseMethod("1"); // under Smalian's formula C2 is taken, C3 is not
    cull().edtC1Exit();
    cull().edtC2Exit();
    EXPECT_EQ(view.tabs, 4);
    cull().edtC3Exit();
    EXPECT_EQ(view.tabs, 4);
}

TEST_F(ReactionsCullTest, CullingTheEntireLog) {
    log().post();
    doc->cull().CullEntireLog();
    EXPECT_TRUE(log().isEditing());
    ExpectTexts(log(), {{"CULL_TYPE", "4"}, {"CULL_METH", "3"}});
    ExpectInts(log(), {{"C1", 100}, {"C2", 0}, {"C3", 0}, {"CULLVOL", 256}});
}

class ReactionsMeasuresTest : public ReactionsCullTest {};

TEST_F(ReactionsMeasuresTest, TopDiameterZeroWipesTheLog) {
    Key(*doc, {{"CULL_TYPE", "3"}, {"CULL_METH", "3"}, {"C1", 10}, {"FLAG", "B"}, {"DBH", 12}});
    EXPECT_EQ(Int(log(), "CULLVOL"), 26);
    Key(*doc, "TOPD", int32_t{0});
    for (const char* f : {"LENGTH", "GROSSVOL", "BUTTD", "CULLVOL", "C1", "C2", "C3"})
        EXPECT_EQ(Int(log(), f), 0) << f;
    for (const char* f : {"CULL_TYPE", "CULL_METH", "FLAG"})
        EXPECT_EQ(Text(log(), f), "") << f;
    ExpectTexts(log(), {{"SPECIES", "S"}, {"CONDCODE", "GR"}, {"PRODCODE", "01"}});
    EXPECT_EQ(Int(log(), "DBH"), 12);
    EXPECT_TRUE(doc->flags().ReactionsEnabled);
}

TEST_F(ReactionsMeasuresTest, RefusedValueStaysInTheEditedLog) {
    ExpectError([&] { Key(*doc, "TOPD", int32_t{21}); }, "Top Diameter must be an even number");
    EXPECT_TRUE(log().isEditing());
    EXPECT_EQ(Int(log(), "TOPD"), 21);
    EXPECT_EQ(Int(log(), "GROSSVOL"), 256); // the reaction stopped before recomputing
    EXPECT_TRUE(doc->flags().ReactionsEnabled);
    EXPECT_THROW(Key(*doc, "LENGTH", int32_t{74}), BrimloError);
    EXPECT_THROW(Key(*doc, "BUTTD", int32_t{6}), BrimloError);
}

TEST_F(ReactionsMeasuresTest, ButtDiameterUnderAlbertaChangesNoVolume) {
    doc->log().post();
    doc->header().edit();
    doc->header().setField("VOL_CALC_METH", "A");
    EXPECT_EQ(Int(log(), "GROSSVOL"), 198);
    Key(*doc, "BUTTD", int32_t{40});
    EXPECT_EQ(Int(log(), "GROSSVOL"), 198);
    EXPECT_THROW(Key(*doc, "BUTTD", int32_t{18}), BrimloError); // still checked
}

TEST_F(ReactionsMeasuresTest, LengthEditPresetsTheDefaultLength) {
    Key(*doc, "LENGTH", int32_t{0}); // wipes the top diameter too
    ExpectInts(log(), {{"TOPD", 0}, {"BUTTD", 0}, {"GROSSVOL", 0}});
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
    Key(*doc, "ACT_LENGTH", int32_t{215});
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
    ExpectError([&] { Key(*doc, "ACT_LENGTH", int32_t{746}); },
                "The Act Length must be a value between 51 and 745 cm.");
    EXPECT_EQ(Int(log(), "LENGTH"), 72);
    EXPECT_THROW(Key(*doc, "ACT_LENGTH", int32_t{50}), BrimloError);
    // The length's own range check is off in this mode.
    EXPECT_NO_THROW(Key(*doc, "LENGTH", int32_t{73}));
    Key(*doc, "ACT_LENGTH", Value());
    EXPECT_EQ(Int(log(), "LENGTH"), 73);
}

TEST_F(ReactionsMeasuresTest, UndersizeRuleFollowsTheTopDiameter) {
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
    EXPECT_TRUE(log().isEditing()); // posting is the window's move
}

TEST_F(ReactionsMeasuresTest, OverriddenLogEscapesBothRules) {
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
}

} // namespace
} // namespace brimlo::testing
