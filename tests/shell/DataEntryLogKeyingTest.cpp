#include "DataEntryTestSupport.h"
#include "common/ReferenceVolumes.h"

#include <QCheckBox>
#include <QLabel>

namespace brimlo::testing {
namespace {

class DataEntryLogKeyingTest : public LogPageFixture {};

TEST_F(DataEntryLogKeyingTest, KeyingSeveralLogs) {
    // Species, condition, product, then the butt diameter under Smalian;
    // two digits fill the top and the length, which move on.
    keys("Tab Tab Tab 30 Tab 24 40");
    EXPECT_EQ(focused(), row("CULL_TYPE"));
    form->focusControl(LoadControl::Dbh, true);
    keys("Tab 40 Tab 4 Tab");
    EXPECT_EQ(focused(), row("LENGTH"));
    keys("PageUp");
    EXPECT_EQ(logInt("LOGNUM"), 1);
    EXPECT_EQ(logInt("GROSSVOL"), 231); // halves 141 + 90 litres
    EXPECT_EQ(logText("PRODCODE"), "01");
    keys("End");
    EXPECT_EQ(logInt("BUTTD"), 40);
    EXPECT_EQ(logInt("TOPD"), 4);
    EXPECT_EQ(logInt("GROSSVOL"), 317); // halves 314 + 3 litres
    // A top of 4 under the header's 10 makes the second log undersize (99):
    // S GR 01 and S GR 99 are two combinations.
    EXPECT_EQ(logText("PRODCODE"), "99");
    EXPECT_EQ(Str(form->statusLabel()->text()), "SP-CD-PR Combinations: 2");
}

TEST_F(DataEntryLogKeyingTest, ARefusedTopDiameterKeepsTheFocusUntilItPasses) {
    form->focusControl(LoadControl::TopD, true);
    prompt.allowAny();
    keys("99");
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].caption, "BRIMLO");
    EXPECT_EQ(focused(), row("TOPD"));
    EXPECT_EQ(Str(form->logEdit("TOPD")->selectedText()), "99");
    // The log cannot be left while it holds the refused value.
    form->btnAppendClick();
    EXPECT_EQ(prompt.shown().size(), 2u);
    EXPECT_EQ(log().recordCount(), 1);
    keys("26");
    EXPECT_EQ(logInt("TOPD"), 26);
    EXPECT_NE(focused(), row("TOPD"));
}

// Esc drops what was typed into the log, refused or not; the log can then
// be left without another message.
TEST_F(DataEntryLogKeyingTest, EscRestoresTheLog) {
    prompt.allowAny();
    for (const char* typed : {"3", "81"}) {
        form->focusControl(LoadControl::TopD, true);
        keys(typed);
        EXPECT_TRUE(log().isEditing()) << typed;
        keys("Esc");
        EXPECT_FALSE(log().isEditing()) << typed;
        EXPECT_EQ(shown("TOPD"), "20") << typed;
        EXPECT_EQ(logInt("TOPD"), 20) << typed;
    }
    EXPECT_EQ(prompt.shown().size(), 1u);
    form->btnAppendClick();
    EXPECT_EQ(log().recordCount(), 2);
    EXPECT_EQ(prompt.shown().size(), 1u);
}

TEST_F(DataEntryLogKeyingTest, CullSequenceWithARefusal) {
    form->focusControl(LoadControl::ButtD, true);
    keys("30 Tab");
    form->focusControl(LoadControl::CullType, false);
    EXPECT_EQ(Str(form->statusLabel()->text()), "Enter Cull Type (1-7)");
    keys("3 Tab");
    EXPECT_EQ(logText("CULL_METH"), "3");
    ASSERT_EQ(focused(), row("CULL_METH"));
    EXPECT_EQ(Str(form->statusLabel()->text()).rfind("Sap Rot - Default Cull Deduction Method", 0),
              0u);
    keys("Tab 10 Tab");
    // Percentage reduction takes C1 only: the focus skips C2 and C3.
    EXPECT_EQ(focused(), row("FLAG"));
    EXPECT_EQ(logInt("CULLVOL"), 26); // 10 % of 256 litres
    keys("BackTab BackTab");
    ASSERT_EQ(focused(), row("C2"));
    prompt.expect("Cull Error: Cannot enter C2 with this cull method");
    keys("5 Tab");
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(focused(), row("C2"));
    EXPECT_EQ(shown("C2"), "0");
    EXPECT_EQ(logInt("C2"), 0);
}

TEST_F(DataEntryLogKeyingTest, ACullTypeOnALogWithoutVolumeIsRefusedWhenLeft) {
    form->btnAppendClick(); // a new log's gross volume stays 0 until measured
    ASSERT_EQ(logInt("GROSSVOL"), 0);
    form->focusControl(LoadControl::CullType, false);
    prompt.expect("Can only enter cull type if gross volume is greater than 0.");
    keys("2 Tab");
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(prompt.shown().back().caption, "Cull Error");
    EXPECT_EQ(focused(), row("CULL_TYPE"));
    EXPECT_EQ(logText("CULL_TYPE"), "");
    EXPECT_EQ(logText("CULL_METH"), "");
    EXPECT_EQ(Str(form->statusLabel()->text()), "SP-CD-PR Combinations: 1");
}

TEST_F(DataEntryLogKeyingTest, F8CullsTheEntireLog) {
    form->focusControl(LoadControl::ButtD, true);
    keys("30 Tab");
    ASSERT_EQ(logInt("GROSSVOL"), RefSmalian(30, 20, 50));
    keys("F8");
    EXPECT_EQ(logText("CULL_TYPE"), "4");
    EXPECT_EQ(logText("CULL_METH"), "3");
    EXPECT_EQ(logInt("C1"), 100);
    EXPECT_EQ(logInt("C2"), 0);
    EXPECT_EQ(logInt("C3"), 0);
    EXPECT_EQ(shown("CULLVOL"), std::to_string(RefSmalian(30, 20, 50)));
}

TEST_F(DataEntryLogKeyingTest, TrimAllowanceTogglesWhichLengthIsWritable) {
    for (bool on : {true, false}) {
        form->trimAllowanceBox()->click();
        EXPECT_EQ(form->trimAllowanceBox()->isChecked(), on);
        EXPECT_EQ(form->logEdit("ACT_LENGTH")->isReadOnly(), !on);
        EXPECT_EQ(form->logEdit("LENGTH")->isReadOnly(), on);
        EXPECT_EQ(form->logEdit("LENGTH")->palette().color(QPalette::Base) == QColor(192, 192, 192),
                  on);
        form->focusControl(LoadControl::TopD, true);
        keys("Tab");
        EXPECT_EQ(focused(), row(on ? "ACT_LENGTH" : "LENGTH"));
    }
}

} // namespace
} // namespace brimlo::testing
