#include "DataEntryTestSupport.h"

#include <QCheckBox>
#include <QTabWidget>

namespace brimlo::testing {
namespace {

class DataEntryHeaderTest : public DataEntryFixture {};

TEST_F(DataEntryHeaderTest, OpensOnTheHeaderPageWithItsCaption) {
    writeDefaults();
    openNewLoad();
    EXPECT_FALSE(form->onLogPage());
    EXPECT_EQ(Str(form->pages()->tabText(0)), "&Header Data Info");
    EXPECT_EQ(Str(form->pages()->tabText(1)), "&Log Data Info");
    EXPECT_EQ(Str(form->windowTitle()).rfind("BRIMLO - Data Entry - ", 0), 0u);
    EXPECT_NE(Str(form->windowTitle()).find("untitled"), std::string::npos);
    EXPECT_EQ(focused(), form->headerEdit("LESSEE"));
    EXPECT_EQ(Str(form->headerEdit("LESSEE")->text()), "LESSEE CO");
    EXPECT_EQ(Str(form->headerEdit("DATEWEIGHED")->toolTip()), "yyyy/mm/dd");
}

TEST_F(DataEntryHeaderTest, TypedLettersBecomeCapitalsWhereMarked) {
    writeDefaults({{"LESSEE", ""}, {"TM9", ""}});
    openNewLoad();
    type("ab");
    EXPECT_EQ(Str(form->headerEdit("LESSEE")->text()), "AB");
    key(Qt::Key_Tab);
    EXPECT_EQ(header().field("LESSEE").asString(), "AB");
}

TEST_F(DataEntryHeaderTest, AFullEditMovesTheFocusOnAfterTyping) {
    writeDefaults();
    openNewLoad();
    form->focusControl(LoadControl::HeaderTopD, true);
    // Back to the population edit by Shift+Tab, then three digits fill it.
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(focused(), form->headerEdit("POP"));
    type("12");
    EXPECT_EQ(focused(), form->headerEdit("POP"));
    type("3");
    EXPECT_EQ(focused(), form->headerEdit("HTOPD"));
    EXPECT_EQ(header().field("POP").asInt(), 123);
}

// Letters and signs typed into a number edit never appear, so a full edit
// still moves on and the field gets the number.
TEST_F(DataEntryHeaderTest, NumberEditsTakeOnlyDigits) {
    writeDefaults();
    openNewLoad();
    form->focusControl(LoadControl::HeaderTopD, true);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    type("1x-2.3");
    EXPECT_EQ(focused(), form->headerEdit("HTOPD"));
    EXPECT_EQ(header().field("POP").asInt(), 123);
}

TEST_F(DataEntryHeaderTest, EnterWorksAsTabAndTheMBoxIsNoStop) {
    writeDefaults();
    openNewLoad();
    key(Qt::Key_Return);
    EXPECT_EQ(focused(), form->headerEdit("MILL_NAME"));
    form->focusControl(LoadControl::Source, false);
    key(Qt::Key_Return);
    EXPECT_EQ(focused(), form->headerEdit("MILL_NUM"));
}

TEST_F(DataEntryHeaderTest, TheHiddenMethodSelectorIsSkipped) {
    writeDefaults();
    openNewLoad();
    form->focusControl(LoadControl::ScalerName, false);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), form->headerEdit("TREES"));
    EXPECT_EQ(form->headerCombo("VOL_CALC_METH")->text(), "Smalian's Formula");
}

TEST_F(DataEntryHeaderTest, DispositionWithASourceKeepsTheFocus) {
    writeDefaults({{"SOURCE", "GRAVEL PIT"}});
    openNewLoad();
    form->focusControl(LoadControl::Disposition, false);
    type("CTL");
    prompt.expect("Cannot have values for both disposition and source");
    key(Qt::Key_Tab);
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(focused(), form->headerEdit("DISP"));
}

TEST_F(DataEntryHeaderTest, F6RefusesTheLogPageWithoutAScalerName) {
    writeDefaults({{"SCALER_NAME", ""}});
    openNewLoad();
    prompt.expect("Scaler Name must have a value");
    key(Qt::Key_F6);
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_FALSE(form->onLogPage());
    EXPECT_EQ(focused(), form->headerEdit("SCALER_NAME"));
}

TEST_F(DataEntryHeaderTest, ThePageTabRunsTheSameChecks) {
    writeDefaults({{"HTOPD", int32_t{0}}});
    openNewLoad();
    prompt.allowAny();
    form->pages()->setCurrentIndex(1);
    EXPECT_FALSE(form->onLogPage());
    EXPECT_EQ(focused(), form->headerEdit("HTOPD"));
    ASSERT_FALSE(prompt.shown().empty());
}

TEST_F(DataEntryHeaderTest, F6SwitchesBothWays) {
    writeDefaults();
    openNewLoad();
    toLogPage();
    EXPECT_EQ(focused(), form->logCombo("SPECIES"));
    key(Qt::Key_F6);
    EXPECT_FALSE(form->onLogPage());
}

TEST_F(DataEntryHeaderTest, HelpKeysReachTheMainWindow) {
    writeDefaults();
    openNewLoad();
    key(Qt::Key_F1);
    key(Qt::Key_F3);
    EXPECT_EQ(shortcutsShown, 1);
    EXPECT_EQ(rangesShown, 1);
}

} // namespace
} // namespace brimlo::testing
