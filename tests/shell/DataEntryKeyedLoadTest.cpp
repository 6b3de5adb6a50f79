#include "DataEntryTestSupport.h"
#include "common/FileBytes.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace brimlo::testing {
namespace {

// A whole load keyed the way a scaler keys it, from the keyboard alone: the
// header's own entries, ten logs with culls of several methods, F2 to save
// and close. The file must hold exactly the bytes a scaler's office expects.
class DataEntryKeyedLoadTest : public DataEntryFixture {
protected:
    void SetUp() override {
        DataEntryFixture::SetUp();
        writeDefaults({{"DISP", ""}});
        openNewLoad();
    }

    void tab(int times = 1) {
        for (int i = 0; i < times; ++i)
            key(Qt::Key_Tab);
    }

    // From the butt diameter of a log, where a new log puts the focus: keys
    // the butt diameter and, when given, top and length (each fills its edit
    // and moves on), arriving at the cull type selector.
    void measures(const char* butt, const char* top = nullptr, const char* length = nullptr) {
        ASSERT_EQ(focused(), row("BUTTD"));
        type(butt);
        tab();
        if (top)
            type(top);
        else
            tab();
        if (length)
            type(length);
        else
            tab();
        ASSERT_EQ(focused(), row("CULL_TYPE"));
    }

    // From wherever the cull entries left the focus, on to the DBH edit.
    void toDbh() {
        for (int guard = 0; guard < 8 && focused() != row("DBH"); ++guard)
            tab();
        ASSERT_EQ(focused(), row("DBH"));
    }

    // Tab out of the last log's DBH appends the next log.
    void nextLog() {
        toDbh();
        tab();
    }

    static std::string Left(const std::string& text, size_t width) {
        return text + std::string(width - text.size(), ' ');
    }

    // One log line of a 30/20/50 spruce log of 256 litres, the fields at
    // their columns: position, codes, top, length, C1-C3, cull type and
    // method, gross, cull, butt, flag, load id, DBH, override, actual length.
    static std::string LogLine(int position, int c1, int c2, int c3, char type, char method,
                               int cull, char flag, int dbh) {
        char line[80];
        std::snprintf(line, sizeof line, "0%4dS GR01%3d%3d%3d%3d%3d%c%c%5d%5d%4d%c%3d%2d%c%3d\r\n",
                      position, 20, 50, c1, c2, c3, type, method, 256, cull, 30, flag, 0, dbh, 'N',
                      0);
        return line;
    }
};

TEST_F(DataEntryKeyedLoadTest, TenLogsWithCullsSavedByF2) {
    // Header page: the defaults stand except for what the scaler keys.
    ASSERT_EQ(focused(), form->headerEdit("LESSEE"));
    tab(2);
    type("ctl");
    tab(4);
    ASSERT_EQ(focused(), form->headerEdit("BLOCK_NUM"));
    type("12");
    tab();
    type("123456"); // six digits fill the load number and move on
    ASSERT_EQ(focused(), form->headerEdit("DATEWEIGHED"));
    type("2026/12/09");
    key(Qt::Key_F6);
    ASSERT_TRUE(form->onLogPage());
    tab(3); // past the species, condition and product the defaults gave

    // 1: 30/20/50, no cull, flag B.
    measures("30");
    tab(5);
    ASSERT_EQ(focused(), row("FLAG"));
    pick("B");
    nextLog();
    // 2: sap rot by percentage, 10 %.
    measures("30");
    pick("3");
    tab(2);
    type("10");
    nextLog();
    // 3: heart rot, interior log method, its length preset to the log's.
    measures("30");
    pick("1");
    tab(2);
    type("10");
    tab();
    type("12");
    nextLog();
    // 4: end rot by the end rot method: 30 at the large end, rot 12 over 10 dm.
    measures("30");
    pick("2");
    tab();
    pick("8");
    tab();
    type("30");
    tab();
    type("12");
    tab();
    type("10");
    nextLog();
    // 5: cat face, a quarter by fractions; DBH 25.
    measures("30");
    pick("4");
    tab();
    pick("4");
    tab();
    type("1");
    tab();
    type("4");
    toDbh();
    type("25"); // fills the DBH edit: on to a new log
    ASSERT_EQ(log().recordCount(), 6);
    // 6: shake, blocked out 10 x 20 cm over 30 dm.
    measures("30");
    pick("6");
    tab();
    pick("5");
    tab();
    type("10");
    tab();
    type("20");
    tab();
    type("30");
    nextLog();
    // 7: crotch, 170 litres as cube cull.
    measures("30");
    pick("7");
    tab();
    pick("7");
    tab();
    type("170");
    nextLog();
    // 8: the entire log culled by F8.
    measures("30");
    key(Qt::Key_F8);
    nextLog();
    // 9: crook, length reduction of 10 dm.
    measures("30");
    pick("5");
    tab();
    pick("2");
    tab();
    type("10");
    nextLog();
    // 10: sap rot keyed as sound-wood diameters 18 and 16.
    measures("30");
    pick("3");
    tab();
    pick("1");
    tab();
    type("18");
    tab();
    type("16");
    ASSERT_EQ(log().recordCount(), 10);

    const std::string file = temp.path().string() + "/AB12345600.txt";
    saveAnswer = file;
    key(Qt::Key_F2);
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(prompt.shown().empty());

    // A log 30/20/50 of species S is 256 litres by Smalian's formula; each
    // deduction is the worked value of its method for that log.
    std::string expected = LogLine(1, 0, 0, 0, ' ', ' ', 0, 'B', 0);
    expected += LogLine(2, 10, 0, 0, '3', '3', 26, ' ', 0);
    expected += LogLine(3, 10, 12, 50, '1', '6', 48, ' ', 0);
    expected += LogLine(4, 30, 12, 10, '2', '8', 6, ' ', 0);
    expected += LogLine(5, 1, 4, 0, '4', '4', 64, ' ', 25);
    expected += LogLine(6, 10, 20, 30, '6', '5', 60, ' ', 0);
    expected += LogLine(7, 170, 0, 0, '7', '7', 170, ' ', 0);
    expected += LogLine(8, 100, 0, 0, '4', '3', 256, ' ', 0);
    expected += LogLine(9, 10, 0, 0, '5', '2', 52, ' ', 0);
    expected += LogLine(10, 18, 16, 0, '3', '1', 142, ' ', 0);
    expected += "3" + Left("LESSEE CO", 20) + Left("MILL", 20) + Left("CTL", 10) + Left("", 4) +
                "      4" + "  12" + "23456" + "261209" + "  7" + "10" + " 20000" + "KG" +
                Left("", 7) + "S GR01" + Left("", 20) + "AB" + "  0" + "  30" + Left("", 16) + "Y" +
                "20261209" + Left("", 10) + "S" + "123456" + Left("PAT", 20) + Left("P1", 6) + "0";
    EXPECT_EQ(ReadBytes(file), expected);

    // Reopened, the load shows every log as keyed and saves the same bytes.
    openLoadFile(file);
    ASSERT_TRUE(form->document().hasLoad());
    EXPECT_EQ(log().recordCount(), 10);
    EXPECT_EQ(logInt("LOGNUM"), 10);
    EXPECT_EQ(logInt("CULLVOL"), 142);
    std::filesystem::remove(file); // F2 saves it anew under its own name
    key(Qt::Key_F2);
    EXPECT_EQ(ReadBytes(file), expected);
}

// Two digits fill the DBH edit, which then moves on as Tab there does: to
// the next log, or to a new one after the last.
TEST_F(DataEntryKeyedLoadTest, AFullDbhGoesOnToTheNextLog) {
    key(Qt::Key_F6);
    appendUntil(3);
    key(Qt::Key_Home);
    form->focusControl(LoadControl::Dbh, true);
    type("4");
    EXPECT_EQ(logInt("LOGNUM"), 1);
    type("2");
    EXPECT_EQ(logInt("LOGNUM"), 2);
    EXPECT_EQ(focused(), row("BUTTD"));
    key(Qt::Key_End);
    form->focusControl(LoadControl::Dbh, true);
    type("17");
    EXPECT_EQ(log().recordCount(), 4);
    key(Qt::Key_Home);
    EXPECT_EQ(logInt("DBH"), 42);
}

// Letters typed into a selector on one log never join those typed into it
// on the next, however fast the scaler keys.
TEST_F(DataEntryKeyedLoadTest, EachVisitToASelectorStartsAFreshPick) {
    key(Qt::Key_F6);
    form->focusControl(LoadControl::ButtD, true);
    type("30");
    key(Qt::Key_Tab);
    form->focusControl(LoadControl::CullType, false);
    pick("3");
    key(Qt::Key_Tab);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(focused(), row("CULL_TYPE"));
    pick("5");
    key(Qt::Key_Tab);
    EXPECT_EQ(logText("CULL_TYPE"), "5");
}

} // namespace
} // namespace brimlo::testing
