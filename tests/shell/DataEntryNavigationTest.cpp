#include "DataEntryTestSupport.h"

#include <QCheckBox>
#include <QLabel>

namespace brimlo::testing {
namespace {

class DataEntryNavigationTest : public DataEntryFixture {
protected:
    // A new load always starts under Smalian; an Alberta load is one
    // whose method was switched afterwards.
    void openOnLogPage(const char* method = "S") {
        writeDefaults();
        openNewLoad();
        if (std::string(method) == "A") {
            header().edit();
            header().setField("VOL_CALC_METH", Value("A"));
            header().post();
        }
        toLogPage();
    }

    int leftOf(const char* field) { return row(field)->geometry().left(); }
};

TEST_F(DataEntryNavigationTest, PageKeysMoveByTheVisibleRows) {
    openOnLogPage();
    appendUntil(40);
    const int p = form->grid()->visibleRows();
    ASSERT_GT(p, 1);
    log().first();
    log().next();
    log().next();
    ASSERT_EQ(log().recNo(), 3);
    key(Qt::Key_PageUp);
    EXPECT_EQ(log().recNo(), 1); // 3 - p < 2
    ASSERT_TRUE(form->document().GoToLogNumber(30));
    key(Qt::Key_PageDown);
    EXPECT_EQ(log().recNo(), 30 + p < 40 ? 30 + p : 40);
    ASSERT_TRUE(form->document().GoToLogNumber(20));
    key(Qt::Key_PageDown);
    EXPECT_EQ(log().recNo(), 20 + p < 40 ? 20 + p : 40);
    ASSERT_TRUE(form->document().GoToLogNumber(20));
    key(Qt::Key_PageUp);
    EXPECT_EQ(log().recNo(), 20 - p < 2 ? 1 : 20 - p);
    key(Qt::Key_End);
    EXPECT_EQ(logInt("LOGNUM"), 40);
    EXPECT_EQ(focused(), row("SPECIES"));
    key(Qt::Key_Home);
    EXPECT_EQ(logInt("LOGNUM"), 1);
}

TEST_F(DataEntryNavigationTest, TheGridFitsWholeRowsAndFollowsTheCurrentLog) {
    openOnLogPage();
    appendUntil(30);
    form->resize(750, 300);
    const int p = form->grid()->visibleRows();
    EXPECT_EQ(p, form->grid()->height() / 25);
    key(Qt::Key_End);
    EXPECT_EQ(form->grid()->topPosition(), 30 - p + 1);
}

TEST_F(DataEntryNavigationTest, F7GoesToTheLogNumberEntered) {
    openOnLogPage();
    appendUntil(6);
    logNumberAnswer = 4;
    key(Qt::Key_F7);
    EXPECT_EQ(logCountAsked, 6);
    EXPECT_EQ(logInt("LOGNUM"), 4);
    logNumberAnswer.reset();
    key(Qt::Key_F7);
    EXPECT_EQ(logInt("LOGNUM"), 4);
}

TEST_F(DataEntryNavigationTest, F7PostsTheEditFirst) {
    openOnLogPage();
    appendUntil(3);
    form->focusControl(LoadControl::ButtD, true);
    type("36");
    logNumberAnswer = 1;
    key(Qt::Key_F7);
    EXPECT_EQ(logInt("LOGNUM"), 1);
    key(Qt::Key_End);
    EXPECT_EQ(logInt("BUTTD"), 36);
}

TEST_F(DataEntryNavigationTest, SmalianColumns) {
    openOnLogPage("S");
    const char* order[] = {"LOGNUM",     "SPECIES", "CONDCODE", "PRODCODE",  "BUTTD",     "TOPD",
                           "ACT_LENGTH", "LENGTH",  "GROSSVOL", "CULL_TYPE", "CULL_METH", "C1",
                           "C2",         "C3",      "CULLVOL",  "FLAG",      "DBH"};
    const int lefts[] = {2,   40,  80,  120, 160, 200, 240, 290, 340,
                         385, 430, 470, 510, 550, 590, 630, 670};
    for (size_t i = 0; i < std::size(order); ++i)
        EXPECT_EQ(leftOf(order[i]), lefts[i]) << order[i];
    EXPECT_FALSE(row("ACT_LENGTH")->isHidden());
    EXPECT_FALSE(form->trimAllowanceBox()->isHidden());
    EXPECT_EQ(form->heading("BUTTD")->x(), 160);
    EXPECT_EQ(Str(form->heading("BUTTD")->text()), "ButtD");
    form->focusControl(LoadControl::ProdCode, false);
    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), row("BUTTD"));
}

TEST_F(DataEntryNavigationTest, AlbertaColumns) {
    openOnLogPage("A");
    const char* order[] = {"LOGNUM",   "SPECIES",   "CONDCODE",  "PRODCODE", "TOPD", "LENGTH",
                           "GROSSVOL", "CULL_TYPE", "CULL_METH", "C1",       "C2",   "C3",
                           "CULLVOL",  "BUTTD",     "FLAG",      "DBH"};
    const int lefts[] = {2,   40,  80,  120, 160, 200, 250, 300,
                         340, 385, 430, 470, 510, 550, 590, 630};
    for (size_t i = 0; i < std::size(order); ++i)
        EXPECT_EQ(leftOf(order[i]), lefts[i]) << order[i];
    EXPECT_TRUE(row("ACT_LENGTH")->isHidden());
    EXPECT_TRUE(form->heading("ACT_LENGTH")->isHidden());
    EXPECT_TRUE(form->trimAllowanceBox()->isHidden());
    form->focusControl(LoadControl::ProdCode, false);
    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), row("TOPD"));
    // Tab in DBH of the last log: the next log's top diameter under Alberta.
    form->focusControl(LoadControl::Dbh, false);
    key(Qt::Key_Tab);
    EXPECT_EQ(log().recordCount(), 2);
    EXPECT_EQ(focused(), row("TOPD"));
}

// Enter works as Tab in DBH too: no digit typed next is lost.
TEST_F(DataEntryNavigationTest, EnterInDbhMovesOnToTheNextLog) {
    openOnLogPage();
    form->focusControl(LoadControl::Dbh, true);
    type("1");
    key(Qt::Key_Return);
    EXPECT_EQ(log().recordCount(), 2);
    ASSERT_EQ(focused(), row("BUTTD"));
    type("3");
    EXPECT_EQ(editText("BUTTD"), "3");
    form->focusControl(LoadControl::TopD, true);
    key(Qt::Key_Return);
    EXPECT_EQ(focused(), row("LENGTH"));
}

} // namespace
} // namespace brimlo::testing

namespace brimlo::testing {
namespace {

class DataEntryRowsTest : public LogPageFixture {
protected:
    void SetUp() override {
        LogPageFixture::SetUp();
        appendUntil(4);
    }
};

TEST_F(DataEntryRowsTest, TabInDbhOfAnEarlierLogMovesToTheNextLog) {
    key(Qt::Key_Home);
    form->focusControl(LoadControl::Dbh, true);
    key(Qt::Key_Tab);
    EXPECT_EQ(log().recordCount(), 4);
    EXPECT_EQ(logInt("LOGNUM"), 2);
    EXPECT_EQ(focused(), row("BUTTD"));
}

TEST_F(DataEntryRowsTest, AClickOnAnotherRowMovesToItsLog) {
    key(Qt::Key_Home);
    const int top = form->grid()->topPosition();
    QTest::mouseClick(form->grid(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(100, 2 * LogRowGrid::kRowHeight + 5));
    EXPECT_EQ(log().recNo(), top + 2);
}

TEST_F(DataEntryRowsTest, ShiftTabStepsBackThroughTheRow) {
    form->focusControl(LoadControl::TopD, true);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), row("BUTTD"));
    EXPECT_TRUE(form->document().flags().BackTab);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), row("PRODCODE"));
    key(Qt::Key_Tab);
    EXPECT_FALSE(form->document().flags().BackTab);
}

} // namespace
} // namespace brimlo::testing
