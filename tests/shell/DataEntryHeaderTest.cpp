#include "DataEntryTestSupport.h"

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
    EXPECT_EQ(shown("LESSEE"), "LESSEE CO");
    EXPECT_EQ(Str(form->headerEdit("DATEWEIGHED")->toolTip()), "yyyy/mm/dd");
    EXPECT_EQ(form->headerCombo("VOL_CALC_METH")->text(), "Smalian's Formula");
    keys("F1 F3");
    EXPECT_EQ(shortcutsShown, 1);
    EXPECT_EQ(rangesShown, 1);
}

TEST_F(DataEntryHeaderTest, DispositionWithASourceKeepsTheFocus) {
    writeDefaults({{"SOURCE", "GRAVEL PIT"}});
    openNewLoad();
    form->focusControl(LoadControl::Disposition, false);
    prompt.expect("Cannot have values for both disposition and source");
    keys("CTL Tab");
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(focused(), form->headerEdit("DISP"));
}

// F6 and the page tab run the same checks; F6 shows the log page once they
// pass.
TEST_F(DataEntryHeaderTest, TheLogPageWaitsForTheHeaderChecks) {
    writeDefaults({{"SCALER_NAME", ""}});
    openNewLoad();
    prompt.expect("Scaler Name must have a value");
    keys("F6");
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_FALSE(form->onLogPage());
    EXPECT_EQ(focused(), form->headerEdit("SCALER_NAME"));
    prompt.expect("Scaler Name must have a value");
    form->pages()->setCurrentIndex(1);
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_FALSE(form->onLogPage());
    keys("pat F6");
    EXPECT_TRUE(form->onLogPage());
    EXPECT_EQ(focused(), form->logCombo("SPECIES"));
}

TEST_F(DataEntryHeaderTest, ThePageTabChecksTheTopDiameterFirst) {
    writeDefaults({{"HTOPD", int32_t{0}}});
    openNewLoad();
    prompt.allowAny();
    form->pages()->setCurrentIndex(1);
    EXPECT_FALSE(form->onLogPage());
    EXPECT_EQ(focused(), form->headerEdit("HTOPD"));
    ASSERT_FALSE(prompt.shown().empty());
}

} // namespace
} // namespace brimlo::testing
