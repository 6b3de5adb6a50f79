#include "DataEntryTestSupport.h"

#include <QCheckBox>
#include <QLabel>

namespace brimlo::testing {
namespace {

using C = LoadControl;

// A new load always starts under Smalian; an Alberta load is one whose
// method was switched afterwards.
class DataEntryNavigationTest : public DataEntryFixture {
protected:
    void open(char method, int logs = 1) {
        writeDefaults();
        openNewLoad();
        if (method == 'A') {
            header().edit();
            header().setField("VOL_CALC_METH", Value("A"));
            header().post();
        }
        if (method != 'H')
            toLogPage();
        appendUntil(logs);
    }
};

struct FlowCase {
    const char* name;
    char page; // 'H' the header page, else the log page of a load of that method
    int logs, position;
    LoadControl from;
    const char* script;
    LoadControl focus;
    int logNum, count;
    const char* shows = ""; // "FIELD=text" a control shows afterwards
};

const FlowCase kFlows[] = {
    {"TypedLettersBecomeCapitals", 'H', 1, 1, C::Lessee, "ab Tab", C::MillName, 1, 1, "LESSEE=AB"},
    {"HeaderEnterWorksAsTab", 'H', 1, 1, C::Lessee, "Return", C::MillName, 1, 1},
    {"TheMBoxIsNoStop", 'H', 1, 1, C::Source, "Return", C::MillNumber, 1, 1},
    {"TheHiddenMethodIsNoStop", 'H', 1, 1, C::ScalerName, "BackTab", C::Trees, 1, 1},
    {"AHeaderEditNotYetFull", 'H', 1, 1, C::HeaderTopD, "BackTab 12", C::Population, 1, 1},
    {"AFullHeaderEditMovesOn", 'H', 1, 1, C::HeaderTopD, "BackTab 123", C::HeaderTopD, 1, 1,
     "POP=123"},
    {"NumberEditsTakeOnlyDigits", 'H', 1, 1, C::HeaderTopD, "BackTab 1x-2.3", C::HeaderTopD, 1, 1,
     "POP=123"},
    {"F6BackToTheHeader", 'S', 1, 1, C::Species, "F6", C::Lessee, 1, 1},
    {"TabAfterTheProductUnderSmalian", 'S', 1, 1, C::ProdCode, "Tab", C::ButtD, 1, 1},
    {"TabAfterTheProductUnderAlberta", 'A', 1, 1, C::ProdCode, "Tab", C::TopD, 1, 1},
    {"EnterInARowEditIsTab", 'S', 1, 1, C::TopD, "Return", C::Length, 1, 1},
    {"ShiftTabStepsBack", 'S', 1, 1, C::TopD, "BackTab BackTab", C::ProdCode, 1, 1},
    {"TabInTheLastDbhAppends", 'S', 1, 1, C::Dbh, "Tab", C::ButtD, 2, 2},
    {"TabInTheLastDbhUnderAlberta", 'A', 1, 1, C::Dbh, "Tab", C::TopD, 2, 2},
    {"TabInAnEarlierDbh", 'S', 4, 1, C::Dbh, "Tab", C::ButtD, 2, 4},
    {"EnterInDbhKeepsTheNextDigit", 'S', 1, 1, C::Dbh, "1 Return 3", C::ButtD, 2, 2, "BUTTD=3"},
    {"AHalfFullDbhStays", 'S', 3, 1, C::Dbh, "4", C::Dbh, 1, 3},
    {"AFullDbhGoesToTheNextLog", 'S', 3, 1, C::Dbh, "42", C::ButtD, 2, 3},
    {"AFullDbhKeepsItsValue", 'S', 3, 1, C::Dbh, "42 Home", C::Species, 1, 3, "DBH=42"},
    {"AFullLastDbhAppends", 'S', 3, 3, C::Dbh, "17", C::ButtD, 4, 4},
    {"AMoveFillsNoEditToAdvance", 'S', 2, 2, C::TopD, "Up", C::TopD, 1, 2, "TOPD=20"},
    {"PlusAppendsOnTheLastLog", 'S', 1, 1, C::TopD, "4 +", C::TopD, 2, 2, "TOPD=20"},
    {"PlusNeverEntersAField", 'S', 1, 1, C::TopD, "4 + Home", C::Species, 1, 2, "TOPD=4"},
    {"PlusMovesOnFromAnEarlierLog", 'S', 2, 1, C::ButtD, "+", C::TopD, 2, 2, "TOPD=20"},
    // A letter typed the moment a list is entered never continues the
    // letters typed there before, however quickly it follows them.
    {"AFreshSearchOnArriving", 'S', 1, 1, C::Species, "a Tab BackTab s Tab", C::CondCode, 1, 1,
     "SPECIES=S"},
    {"F9FromTheLength", 'S', 1, 1, C::Length, "F9", C::CullType, 1, 1},
    {"F9FromC2", 'S', 1, 1, C::C2, "F9", C::Flag, 1, 1},
    {"F9FromDbh", 'S', 1, 1, C::Dbh, "F9", C::Species, 1, 1},
    {"F11NextTop", 'S', 1, 1, C::Species, "F11", C::TopD, 2, 2},
    {"F12NextButt", 'S', 1, 1, C::Species, "F11 F12", C::ButtD, 3, 3},
    {"F4NextSpecies", 'S', 3, 1, C::Species, "F4", C::Species, 2, 3},
    {"EndLastLog", 'S', 3, 1, C::TopD, "End", C::Species, 3, 3},
    {"UpKeepsTheSpecies", 'S', 2, 2, C::Species, "Up", C::Species, 1, 2, "SPECIES=S"},
    {"RightKeepsTheSpecies", 'S', 2, 1, C::Species, "Down Right", C::Species, 2, 2, "SPECIES=S"},
};

class DataEntryFlowTest : public DataEntryNavigationTest,
                          public ::testing::WithParamInterface<FlowCase> {};

TEST_P(DataEntryFlowTest, EndsWhereTheMapSays) {
    const FlowCase& c = GetParam();
    open(c.page, c.logs);
    ASSERT_TRUE(form->document().GoToLogNumber(c.position));
    form->focusControl(c.from, true);
    keys(c.script);
    EXPECT_EQ(focused(), form->control(c.focus));
    EXPECT_EQ(logInt("LOGNUM"), c.logNum);
    EXPECT_EQ(log().recordCount(), c.count);
    const std::string shows = c.shows;
    if (!shows.empty()) {
        EXPECT_EQ(shown(shows.substr(0, shows.find('='))), shows.substr(shows.find('=') + 1));
    }
}

INSTANTIATE_TEST_SUITE_P(, DataEntryFlowTest, ::testing::ValuesIn(kFlows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DataEntryNavigationTest, PageKeysMoveByTheVisibleRows) {
    open('S', 40);
    const int p = form->grid()->visibleRows();
    ASSERT_GT(p, 1);
    const std::tuple<int, Qt::Key, int> moves[] = {{3, Qt::Key_PageUp, 1},
                                                   {30, Qt::Key_PageDown, std::min(30 + p, 40)},
                                                   {20, Qt::Key_PageDown, std::min(20 + p, 40)},
                                                   {20, Qt::Key_PageUp, 20 - p < 2 ? 1 : 20 - p}};
    for (const auto& [from, k, to] : moves) {
        ASSERT_TRUE(form->document().GoToLogNumber(from));
        key(k);
        EXPECT_EQ(log().recNo(), to) << from;
    }
}

TEST_F(DataEntryNavigationTest, TheGridFitsWholeRowsAndFollowsTheCurrentLog) {
    open('S', 30);
    form->resize(750, 300);
    const int p = form->grid()->visibleRows();
    EXPECT_EQ(p, form->grid()->height() / 25);
    key(Qt::Key_End);
    EXPECT_EQ(form->grid()->topPosition(), 30 - p + 1);
    key(Qt::Key_Home);
    const int top = form->grid()->topPosition();
    QTest::mouseClick(form->grid(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(100, 2 * LogRowGrid::kRowHeight + 5));
    EXPECT_EQ(log().recNo(), top + 2);
}

// F7 posts the edit first, then goes to the number entered; cancelled, it
// stays.
TEST_F(DataEntryNavigationTest, F7GoesToTheLogNumberEntered) {
    open('S', 6);
    form->focusControl(C::ButtD, true);
    logNumberAnswer = 4;
    keys("36 F7");
    EXPECT_EQ(logCountAsked, 6);
    EXPECT_EQ(logInt("LOGNUM"), 4);
    logNumberAnswer.reset();
    keys("F7");
    EXPECT_EQ(logInt("LOGNUM"), 4);
    keys("End");
    EXPECT_EQ(logInt("BUTTD"), 36);
}

TEST_F(DataEntryNavigationTest, ShiftTabSetsBackTabUntilTheNextTab) {
    open('S');
    form->focusControl(C::TopD, true);
    keys("BackTab");
    EXPECT_TRUE(form->document().flags().BackTab);
    keys("Tab");
    EXPECT_FALSE(form->document().flags().BackTab);
}

struct ColumnsCase {
    char method;
    const char* lefts; // "FIELD=left" of each column
};

const ColumnsCase kColumns[] = {
    {'S', "LOGNUM=2 SPECIES=40 CONDCODE=80 PRODCODE=120 BUTTD=160 TOPD=200 ACT_LENGTH=240 "
          "LENGTH=290 GROSSVOL=340 CULL_TYPE=385 CULL_METH=430 C1=470 C2=510 C3=550 "
          "CULLVOL=590 FLAG=630 DBH=670"},
    {'A', "LOGNUM=2 SPECIES=40 CONDCODE=80 PRODCODE=120 TOPD=160 LENGTH=200 GROSSVOL=250 "
          "CULL_TYPE=300 CULL_METH=340 C1=385 C2=430 C3=470 CULLVOL=510 BUTTD=550 FLAG=590 "
          "DBH=630"},
};

class DataEntryColumnsTest : public DataEntryNavigationTest,
                             public ::testing::WithParamInterface<ColumnsCase> {};

// The columns and their headings stand where the method puts them; Alberta
// hides the actual length, its heading and the trim allowance box.
TEST_P(DataEntryColumnsTest, StandByTheMethod) {
    const ColumnsCase& c = GetParam();
    open(c.method);
    std::istringstream lefts(c.lefts);
    for (std::string pair; lefts >> pair;) {
        const std::string field = pair.substr(0, pair.find('='));
        EXPECT_EQ(row(field.c_str())->geometry().left(), std::stoi(pair.substr(field.size() + 1)))
            << field;
    }
    const bool alberta = c.method == 'A';
    EXPECT_EQ(row("ACT_LENGTH")->isHidden(), alberta);
    EXPECT_EQ(form->heading("ACT_LENGTH")->isHidden(), alberta);
    EXPECT_EQ(form->trimAllowanceBox()->isHidden(), alberta);
    EXPECT_EQ(form->heading("BUTTD")->x(), alberta ? 550 : 160);
    EXPECT_EQ(Str(form->heading("BUTTD")->text()), "ButtD");
}

INSTANTIATE_TEST_SUITE_P(, DataEntryColumnsTest, ::testing::ValuesIn(kColumns),
                         [](const auto& info) { return std::string(1, info.param.method); });

} // namespace
} // namespace brimlo::testing
