#include "DataEntryTestSupport.h"
#include "common/ReferenceVolumes.h"

#include <QCheckBox>
#include <QLabel>

namespace brimlo::testing {
namespace {

class DataEntryLogKeyingTest : public LogPageFixture {};

TEST_F(DataEntryLogKeyingTest, KeyingSeveralLogs) {
    // species, condition, product, then butt diameter under Smalian.
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    ASSERT_EQ(focused(), row("BUTTD"));
    type("30");
    key(Qt::Key_Tab);
    ASSERT_EQ(focused(), row("TOPD"));
    type("24"); // two digits fill the edit
    EXPECT_EQ(focused(), row("LENGTH"));
    type("40");
    EXPECT_EQ(focused(), row("CULL_TYPE"));
    form->focusControl(LoadControl::Dbh, true);
    key(Qt::Key_Tab); // from DBH of the last log: a new log
    EXPECT_EQ(log().recordCount(), 2);
    EXPECT_EQ(logInt("LOGNUM"), 2);
    EXPECT_EQ(focused(), row("BUTTD"));
    type("40");
    key(Qt::Key_Tab);
    type("4");
    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), row("LENGTH"));
    key(Qt::Key_PageUp);
    EXPECT_EQ(logInt("LOGNUM"), 1);
    EXPECT_EQ(logInt("GROSSVOL"), 231); // halves 141 + 90 litres
    EXPECT_EQ(logText("PRODCODE"), "01");
    key(Qt::Key_End);
    EXPECT_EQ(logInt("LOGNUM"), 2);
    EXPECT_EQ(logInt("BUTTD"), 40);
    EXPECT_EQ(logInt("TOPD"), 4);
    EXPECT_EQ(logInt("GROSSVOL"), 317); // halves 314 + 3 litres
    // A top of 4 under the header's 10 makes the second log undersize (99):
    // S GR 01 and S GR 99 are two combinations.
    EXPECT_EQ(logText("PRODCODE"), "99");
    EXPECT_EQ(Str(form->statusLabel()->text()), "SP-CD-PR Combinations: 2");
}

TEST_F(DataEntryLogKeyingTest, ATopDiameterFilledByAMoveDoesNotAdvance) {
    form->btnAppendClick();
    form->focusControl(LoadControl::TopD, true);
    key(Qt::Key_Up);
    EXPECT_EQ(logInt("LOGNUM"), 1);
    EXPECT_EQ(focused(), row("TOPD"));
    EXPECT_EQ(editText("TOPD"), "20");
}

TEST_F(DataEntryLogKeyingTest, PlusNeverEntersAFieldAndAppendsOnTheLastLog) {
    form->focusControl(LoadControl::TopD, true);
    type("4+");
    EXPECT_EQ(log().recordCount(), 2);
    EXPECT_EQ(focused(), row("TOPD"));
    log().first();
    EXPECT_EQ(logInt("TOPD"), 4);
    form->focusControl(LoadControl::ButtD, true);
    type("+");
    EXPECT_EQ(log().recordCount(), 2);
    EXPECT_EQ(logInt("LOGNUM"), 2);
    EXPECT_EQ(editText("TOPD").find('+'), std::string::npos);
}

TEST_F(DataEntryLogKeyingTest, EscCancelsTheUnpostedEdit) {
    form->focusControl(LoadControl::ButtD, true);
    const std::string before = editText("BUTTD");
    type("34");
    EXPECT_TRUE(log().isEditing());
    key(Qt::Key_Escape);
    EXPECT_FALSE(log().isEditing());
    EXPECT_EQ(editText("BUTTD"), before);
    EXPECT_EQ(logInt("BUTTD"), 0);
}

TEST_F(DataEntryLogKeyingTest, ARefusedTopDiameterKeepsTheFocusUntilItPasses) {
    form->focusControl(LoadControl::TopD, true);
    prompt.allowAny();
    type("99");
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].caption, "BRIMLO");
    EXPECT_EQ(focused(), row("TOPD"));
    EXPECT_EQ(editText("TOPD"), "99");
    EXPECT_EQ(Str(form->logEdit("TOPD")->selectedText()), "99");
    // The log cannot be left while it holds the refused value.
    form->btnAppendClick();
    EXPECT_EQ(prompt.shown().size(), 2u);
    EXPECT_EQ(log().recordCount(), 1);
    type("26");
    EXPECT_EQ(logInt("TOPD"), 26);
    EXPECT_NE(focused(), row("TOPD"));
}

TEST_F(DataEntryLogKeyingTest, CullSequenceWithARefusal) {
    form->focusControl(LoadControl::ButtD, true);
    type("30");
    key(Qt::Key_Tab);
    form->focusControl(LoadControl::CullType, false);
    EXPECT_EQ(Str(form->statusLabel()->text()), "Enter Cull Type (1-7)");
    pick("3");
    key(Qt::Key_Tab);
    EXPECT_EQ(logText("CULL_TYPE"), "3");
    EXPECT_EQ(logText("CULL_METH"), "3");
    ASSERT_EQ(focused(), row("CULL_METH"));
    EXPECT_EQ(Str(form->statusLabel()->text()).rfind("Sap Rot - Default Cull Deduction Method", 0),
              0u);
    key(Qt::Key_Tab);
    ASSERT_EQ(focused(), row("C1"));
    type("10");
    key(Qt::Key_Tab);
    // Percentage reduction takes C1 only: the focus skips C2 and C3.
    EXPECT_EQ(focused(), row("FLAG"));
    EXPECT_EQ(logInt("C1"), 10);
    const int32_t gross = logInt("GROSSVOL");
    EXPECT_EQ(logInt("CULLVOL"), static_cast<int32_t>(std::floor(gross * 0.10 + 0.5)));
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(focused(), row("C2"));
    prompt.expect("Cull Error: Cannot enter C2 with this cull method");
    type("5");
    key(Qt::Key_Tab);
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(focused(), row("C2"));
    EXPECT_EQ(editText("C2"), "0");
    EXPECT_EQ(logInt("C2"), 0);
}

TEST_F(DataEntryLogKeyingTest, F8CullsTheEntireLog) {
    form->focusControl(LoadControl::ButtD, true);
    type("30");
    key(Qt::Key_Tab);
    const int32_t gross = logInt("GROSSVOL");
    ASSERT_EQ(gross, RefSmalian(30, 20, 50));
    key(Qt::Key_F8);
    EXPECT_EQ(logText("CULL_TYPE"), "4");
    EXPECT_EQ(logText("CULL_METH"), "3");
    EXPECT_EQ(logInt("C1"), 100);
    EXPECT_EQ(logInt("C2"), 0);
    EXPECT_EQ(logInt("C3"), 0);
    EXPECT_EQ(logInt("CULLVOL"), gross);
    EXPECT_EQ(editText("CULLVOL"), std::to_string(gross));
}

TEST_F(DataEntryLogKeyingTest, F9ShiftsTheCursor) {
    form->focusControl(LoadControl::Length, false);
    key(Qt::Key_F9);
    EXPECT_EQ(focused(), row("CULL_TYPE"));
    form->focusControl(LoadControl::C2, false);
    key(Qt::Key_F9);
    EXPECT_EQ(focused(), row("FLAG"));
    form->focusControl(LoadControl::Dbh, false);
    key(Qt::Key_F9);
    EXPECT_EQ(focused(), row("SPECIES"));
}

TEST_F(DataEntryLogKeyingTest, FunctionKeysMoveToTheNextLog) {
    key(Qt::Key_F11);
    EXPECT_EQ(log().recordCount(), 2);
    EXPECT_EQ(focused(), row("TOPD"));
    key(Qt::Key_F12);
    EXPECT_EQ(log().recordCount(), 3);
    EXPECT_EQ(focused(), row("BUTTD"));
    key(Qt::Key_Home);
    EXPECT_EQ(logInt("LOGNUM"), 1);
    key(Qt::Key_F4);
    EXPECT_EQ(logInt("LOGNUM"), 2);
    EXPECT_EQ(focused(), row("SPECIES"));
    EXPECT_EQ(log().recordCount(), 3);
}

TEST_F(DataEntryLogKeyingTest, TrimAllowanceTogglesWhichLengthIsWritable) {
    EXPECT_TRUE(form->logEdit("ACT_LENGTH")->isReadOnly());
    EXPECT_FALSE(form->logEdit("LENGTH")->isReadOnly());
    form->trimAllowanceBox()->click();
    EXPECT_TRUE(form->trimAllowanceBox()->isChecked());
    EXPECT_FALSE(form->logEdit("ACT_LENGTH")->isReadOnly());
    EXPECT_TRUE(form->logEdit("LENGTH")->isReadOnly());
    EXPECT_EQ(form->logEdit("LENGTH")->palette().color(QPalette::Base), QColor(192, 192, 192));
    form->focusControl(LoadControl::TopD, true);
    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), row("ACT_LENGTH"));
    form->trimAllowanceBox()->click();
    form->focusControl(LoadControl::TopD, true);
    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), row("LENGTH"));
}

TEST_F(DataEntryLogKeyingTest, SelectorsKeepTheirEntryOnCursorKeys) {
    form->btnAppendClick();
    ASSERT_EQ(focused(), row("SPECIES"));
    key(Qt::Key_Up);
    EXPECT_EQ(logInt("LOGNUM"), 1);
    EXPECT_EQ(logText("SPECIES"), "S");
    key(Qt::Key_Down);
    EXPECT_EQ(logInt("LOGNUM"), 2);
    key(Qt::Key_Right);
    key(Qt::Key_F4);
    EXPECT_EQ(form->logCombo("SPECIES")->text(), "S");
    EXPECT_FALSE(log().isEditing());
}

} // namespace
} // namespace brimlo::testing

namespace brimlo::testing {
namespace {

class DataEntryRefusalTest : public LogPageFixture {};

TEST_F(DataEntryRefusalTest, EscAfterARefusalRestoresTheLog) {
    form->focusControl(LoadControl::TopD, true);
    const int32_t top = logInt("TOPD");
    prompt.allowAny();
    type("81");
    ASSERT_EQ(prompt.shown().size(), 1u);
    key(Qt::Key_Escape);
    EXPECT_FALSE(log().isEditing());
    EXPECT_EQ(logInt("TOPD"), top);
    EXPECT_EQ(editText("TOPD"), std::to_string(top));
    form->btnAppendClick();
    EXPECT_EQ(log().recordCount(), 2);
    EXPECT_EQ(prompt.shown().size(), 1u);
}

TEST_F(DataEntryRefusalTest, ACullTypeOnALogWithoutVolumeIsRefusedWhenLeft) {
    form->btnAppendClick(); // a new log's gross volume stays 0 until measured
    ASSERT_EQ(logInt("GROSSVOL"), 0);
    form->focusControl(LoadControl::CullType, false);
    pick("2");
    prompt.expect("Can only enter cull type if gross volume is greater than 0.");
    key(Qt::Key_Tab);
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(prompt.shown().back().caption, "Cull Error");
    EXPECT_EQ(focused(), row("CULL_TYPE"));
    EXPECT_EQ(logText("CULL_TYPE"), "");
    EXPECT_EQ(logText("CULL_METH"), "");
    EXPECT_EQ(Str(form->statusLabel()->text()), "SP-CD-PR Combinations: 1");
}

} // namespace
} // namespace brimlo::testing
