#include "common/ScriptedPrompt.h"
#include "master/FieldEdit.h"
#include "master/MasterFields.h"
#include "master/MasterTestSupport.h"
#include "master/TfrmMasterMaintenance.h"

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace brimlo;
using brimlo::testing::AddMasterRecord;
using brimlo::testing::NewMasterDataset;
using brimlo::testing::ScriptedPrompt;

namespace {

// Windows need the application object; the master tests make it only here.
class WidgetEnvironment : public ::testing::Environment {
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_master";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance())
            app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] auto* const environment =
    ::testing::AddGlobalTestEnvironment(new WidgetEnvironment);

struct Group {
    const char* key;
    int logs;
    double length, gross, cull, net, cullPercent;
};

void AddRecord(Dataset& master, int numGroups, const std::vector<Group>& groups, int trees = 0,
               int netWeight = 0, int loadNum = 1) {
    master.insert();
    master.setField("MILLCODE", Value("AB"));
    master.setField("LOAD_NUM", Value(loadNum));
    master.setField("TREES", Value(trees));
    master.setField("NET_WEIGHT", Value(netWeight));
    master.setField("NUM_GROUPS", Value(numGroups));
    for (size_t i = 0; i < groups.size(); ++i) {
        const Group& g = groups[i];
        const std::pair<const char*, Value> fields[] = {
            {"SPCDPR", Value(g.key)},         {"LOGNUMS", Value(g.logs)},
            {"LENGTH", Value(g.length)},      {"GROSSVOL", Value(g.gross)},
            {"CULLVOL", Value(g.cull)},       {"NETVOL", Value(g.net)},
            {"CULLPER", Value(g.cullPercent)}};
        for (const auto& [name, value] : fields)
            master.setField(name + std::to_string(i + 1), value);
    }
    master.post();
}

std::vector<Group> Groups(int count) {
    std::vector<Group> groups;
    for (int n = 0; n < count; ++n)
        groups.push_back({"SPGR01", 1, 4.8, 0.1, 0, 0.1, 0});
    return groups;
}

// Stands in for the main window: it tells the window of every move of the
// master table and, after a deletion, packs and closes the window when the
// table is empty.
class MasterMaintenanceTest : public ::testing::Test {
protected:
    void SetUp() override { master_ = NewMasterDataset(); }
    void TearDown() override {
        master_->events.afterScroll = nullptr;
        window_.reset();
    }

    TfrmMasterMaintenance& open() {
        MaintenanceCallbacks callbacks;
        callbacks.enableReportCurrent = [this](bool on) { reportCurrent_.push_back(on); };
        callbacks.recordDeleted = [this] { recordDeleted(); };
        window_ = std::make_unique<TfrmMasterMaintenance>(*master_, boxes_, callbacks);
        master_->events.afterScroll = [this] { window_->masterMoved(Label(), active_); };
        window_->show();
        return *window_;
    }

    std::string Label() const {
        return "Record: " + std::to_string(master_->recNo()) + " of " +
               std::to_string(master_->recordCount());
    }

    void recordDeleted() {
        master_->pack();
        if (!master_->isEmpty())
            return;
        boxes_.message("The master file contains no records.", "Master file is empty",
                       PromptIcon::Error);
        window_->close();
    }

    std::string text(const char* name) const {
        auto* edit = window_->findChild<QLineEdit*>(QString::fromLatin1(name));
        EXPECT_NE(edit, nullptr) << name;
        return edit ? edit->text().toStdString() : std::string();
    }

    // The group rows shown, counted from the first; -1 when a row is half
    // shown or one is shown after a hidden one.
    int rowsShown() const {
        int last = 0;
        for (int n = 1; n <= 12; ++n) {
            int shown = 0;
            for (int column = 0; column < 7; ++column)
                shown += window_->groupEdit(column, n)->isHidden() ? 0 : 1;
            if (shown % 7 != 0 || (shown == 7 && last != n - 1))
                return -1;
            last = shown == 7 ? n : last;
        }
        return last;
    }

    void click(const char* button) {
        QTest::mouseClick(window_->navButton(button), Qt::LeftButton);
    }

    std::unique_ptr<Dataset> master_;
    brimlo::testing::InstalledPrompt boxes_;
    std::unique_ptr<TfrmMasterMaintenance> window_;
    std::vector<bool> reportCurrent_;
    bool active_ = true;
};

// --- the window -------------------------------------------------------------------

TEST_F(MasterMaintenanceTest, CaptionSizeAndHints) {
    AddRecord(*master_, 1, Groups(1));
    TfrmMasterMaintenance& w = open();
    EXPECT_EQ(w.windowTitle().toStdString(), "Master File Maintenance");
    EXPECT_EQ(w.size(), QSize(630, 455));
    const std::pair<const char*, const char*> hints[] = {
        {"btnFirst", "Move to First Master record"},
        {"btnPrior", "Move to Prior Master record"},
        {"btnNext", "Move to Next Master record"},
        {"btnLast", "Move to Last Master record"},
        {"btnDelete", "Delete Master record"}};
    for (const auto& [button, hint] : hints)
        EXPECT_EQ(w.navButton(button)->toolTip().toStdString(), hint);
}

struct MoveCase {
    const char* name;
    int key;            // pressed on the navigator, or
    const char* button; // clicked
    int record;         // of five, from the third
};

const MoveCase kMoves[] = {
    {"HomeFirst", Qt::Key_Home, nullptr, 1},
    {"EndLast", Qt::Key_End, nullptr, 5},
    {"LeftPrior", Qt::Key_Left, nullptr, 2},
    {"RightNext", Qt::Key_Right, nullptr, 4},
    {"OtherKeysStay", Qt::Key_Up, nullptr, 3},
    {"ClickFirst", 0, "btnFirst", 1},
    {"ClickPrior", 0, "btnPrior", 2},
    {"ClickNext", 0, "btnNext", 4},
    {"ClickLast", 0, "btnLast", 5},
};

class MasterMoveTest : public MasterMaintenanceTest,
                       public ::testing::WithParamInterface<MoveCase> {};

TEST_P(MasterMoveTest, ShowsTheRecordReached) {
    const MoveCase& c = GetParam();
    for (int load = 1; load <= 5; ++load)
        AddRecord(*master_, 1, Groups(1), 0, 0, load);
    master_->first();
    master_->next();
    master_->next();
    TfrmMasterMaintenance& w = open();
    w.activated();
    EXPECT_EQ(w.recordLabel()->text().toStdString(), "Record: 3 of 5");
    if (c.button)
        click(c.button);
    else
        QTest::keyClick(w.findChild<QWidget*>(QStringLiteral("navMaster")), Qt::Key(c.key));
    EXPECT_EQ(w.recordLabel()->text().toStdString(),
              "Record: " + std::to_string(c.record) + " of 5");
    EXPECT_EQ(text("edtLoadNum"), std::to_string(c.record));
}

INSTANTIATE_TEST_SUITE_P(, MasterMoveTest, ::testing::ValuesIn(kMoves),
                         [](const auto& info) { return std::string(info.param.name); });

// Every edit is read-only, typing changes nothing; Enter moves on as Tab
// does, through the header, groups, totals and statistics to the navigator.
TEST_F(MasterMaintenanceTest, ReadOnlyEditsWalkedByEnterAndTab) {
    AddRecord(*master_, 1, Groups(1));
    TfrmMasterMaintenance& w = open();
    w.activated();
    for (QLineEdit* edit : w.findChildren<QLineEdit*>())
        EXPECT_TRUE(edit->isReadOnly()) << edit->objectName().toStdString();
    QApplication::setActiveWindow(&w);
    w.findChild<QLineEdit*>(QStringLiteral("edtMillName"))->setFocus(Qt::TabFocusReason);
    std::vector<std::string> walked;
    for (int i = 0; i < 40 && QApplication::focusWidget(); ++i) {
        walked.push_back(QApplication::focusWidget()->objectName().toStdString());
        if (walked.back() == "navMaster")
            break;
        if (i == 1)
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("xyz"));
        QTest::keyClick(QApplication::focusWidget(), i == 0 ? Qt::Key_Return : Qt::Key_Tab);
    }
    const std::vector<std::string> expected = {
        "edtMillName",     "edtLessee",      "edtDisp",        "edtSubDisp",   "edtSource",
        "edtDate",         "edtPop",         "edtTopD",        "edtNetWeight", "edtTm9",
        "edtMillNum",      "edtBlockNum",    "edtLoadNum",     "edtSawlogs",   "edtSpecies",
        "edtCondCode",     "edtProdCode",    "scrollSummary",  "edtSpCdPr1",   "edtLogs1",
        "edtLength1",      "edtGrossVol1",   "edtCullVol1",    "edtNetVol1",   "edtCullPer1",
        "edtTotalLogs",    "edtTotalLength", "edtTotalGVol",   "edtTotalCVol", "edtTotalNVol",
        "edtTotalCullPer", "edtTrees",       "edtVolperTrees", "edtLogSize",   "edtWt_per_Vol",
        "navMaster"};
    EXPECT_EQ(walked, expected);
    EXPECT_FALSE(master_->isEditing());
}

TEST_F(MasterMaintenanceTest, GroupFieldsShowInTheirPictures) {
    AddRecord(*master_, 1, {{"SPGR01", 12, 4.8, 0.2, 0.05, 0.15, 25}});
    TfrmMasterMaintenance& w = open();
    const char* shown[] = {"SPGR01", "12", "4.8", "0.200", "0.050", "0.150", "25.00"};
    for (int column = 0; column < 7; ++column)
        EXPECT_EQ(w.groupEdit(column, 1)->text().toStdString(), shown[column]) << column;
    // An empty group shows empty, not zero.
    EXPECT_EQ(w.groupEdit(3, 2)->text().toStdString(), "");
}

// --- totals and statistics ----------------------------------------------------------

struct TotalsCase {
    const char* name;
    int numGroups, trees, netWeight;
    const char* shown; // "edit=text" pairs
    std::vector<Group> groups;
};

const TotalsCase kTotals[] = {
    // Group 3 holds leftovers beyond NUM_GROUPS and must not count. Cull
    // 0.05 / 0.448 = 11.1607 %; log size 0.448 / 9.6 = 0.0466667 + 0.00001;
    // weight 25000 / 0.398.
    {"OnlyTheGroupsInUse",
     2,
     5,
     25000,
     "edtTotalLogs=7 edtTotalLength=9.6 edtTotalGVol=0.448 edtTotalCVol=0.050 "
     "edtTotalNVol=0.398 edtTotalCullPer=11.16 edtTrees=5 edtVolperTrees=0.0896 "
     "edtLogSize=0.047 edtWt_per_Vol=62814.070",
     {{"SPGR01", 3, 4.8, 0.2, 0.05, 0.15, 25},
      {"FIGR01", 4, 4.8, 0.248, 0, 0.248, 0},
      {"PLGR01", 99, 50, 9, 9, 9, 100}}},
    {"NoTreesAndALargeVolume",
     1,
     0,
     25000,
     "edtWt_per_Vol=1219.512 edtVolperTrees=0.0000 edtLogSize=0.214",
     {{"SPGR01", 20, 96, 20.5, 0, 20.5, 0}}},
    {"ZeroDivisorsShowZeroInTheirPictures",
     1,
     0,
     18000,
     "edtTotalCullPer=0.00 edtTrees=0 edtVolperTrees=0.0000 edtLogSize=0.000 edtWt_per_Vol=0.000",
     {{"SPGR01", 0, 0, 0, 0, 0, 0}}},
    // A record claiming more than twelve groups shows twelve.
    {"AtMostTwelveGroups", 40, 0, 0, "edtTotalLogs=12", Groups(12)},
};

class MasterTotalsTest : public MasterMaintenanceTest,
                         public ::testing::WithParamInterface<TotalsCase> {};

TEST_P(MasterTotalsTest, Show) {
    const TotalsCase& c = GetParam();
    AddRecord(*master_, c.numGroups, c.groups, c.trees, c.netWeight);
    open().activated();
    std::istringstream pairs(c.shown);
    for (std::string pair; pairs >> pair;) {
        const std::string edit = pair.substr(0, pair.find('='));
        EXPECT_EQ(text(edit.c_str()), pair.substr(edit.size() + 1)) << edit;
    }
    EXPECT_EQ(rowsShown(), std::min(c.numGroups, 12));
}

INSTANTIATE_TEST_SUITE_P(, MasterTotalsTest, ::testing::ValuesIn(kTotals),
                         [](const auto& info) { return std::string(info.param.name); });

// --- refreshing and activation --------------------------------------------------------

TEST_F(MasterMaintenanceTest, MovesWhileInactiveWaitForTheNextActivation) {
    AddRecord(*master_, 1, {{"SPGR01", 3, 4.8, 0.2, 0, 0.2, 0}});
    AddRecord(*master_, 2, {{"SPGR01", 4, 4.8, 0.2, 0, 0.2, 0}, {"FIGR01", 5, 4, 1, 0, 1, 0}});
    master_->first();
    TfrmMasterMaintenance& w = open();
    EXPECT_TRUE(w.refreshPending());
    w.activated();
    EXPECT_FALSE(w.refreshPending());
    EXPECT_EQ(text("edtTotalLogs"), "3");
    active_ = false;
    master_->next();
    EXPECT_TRUE(w.refreshPending());
    EXPECT_EQ(text("edtTotalLogs"), "3");
    EXPECT_EQ(w.recordLabel()->text().toStdString(), "Record: 2 of 2");
    w.activated();
    EXPECT_EQ(text("edtTotalLogs"), "9");
    EXPECT_EQ(rowsShown(), 2);
}

TEST_F(MasterMaintenanceTest, ActivationInTheClientAreaDrivesTheCurrentRecordReport) {
    AddRecord(*master_, 1, {{"SPGR01", 3, 4.8, 0.2, 0, 0.2, 0}});
    QMdiArea area;
    area.resize(800, 600);
    area.show();
    QApplication::setActiveWindow(&area);
    MaintenanceCallbacks callbacks;
    callbacks.enableReportCurrent = [this](bool on) { reportCurrent_.push_back(on); };
    auto* window = new TfrmMasterMaintenance(*master_, boxes_, callbacks);
    QMdiSubWindow* sub = area.addSubWindow(window);
    sub->show();
    area.setActiveSubWindow(sub);
    ASSERT_FALSE(reportCurrent_.empty());
    EXPECT_TRUE(reportCurrent_.back());
    EXPECT_FALSE(window->refreshPending());
    EXPECT_EQ(window->findChild<QLineEdit*>(QStringLiteral("edtTotalLogs"))->text().toStdString(),
              "3");
    QMdiSubWindow* other = area.addSubWindow(new QWidget);
    other->show();
    area.setActiveSubWindow(other);
    EXPECT_FALSE(reportCurrent_.back());
}

// --- deleting -------------------------------------------------------------------------

struct DeleteCase {
    const char* name;
    int records;
    std::vector<std::pair<const char*, PromptAnswer>> boxes;
    int left;
    const char* label; // of the window still shown, or nullptr when it closed
    bool byKey = true; // Delete on the navigator, else the button
};

// Load 2 of three groups stands after load 1: deleting load 1 shows it.
const DeleteCase kDeletes[] = {
    {"NoKeepsTheRecord", 2, {{"Delete record?", PromptAnswer::No}}, 2, "Record: 1 of 2", false},
    {"YesShowsTheNext", 3, {{"Delete record?", PromptAnswer::Yes}}, 2, "Record: 1 of 2"},
    {"TheOnlyRecordClosesTheWindow",
     1,
     {{"Delete record?", PromptAnswer::Yes},
      {"The master file contains no records.", PromptAnswer::Ok}},
     0,
     nullptr},
};

class MasterDeleteTest : public MasterMaintenanceTest,
                         public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(MasterDeleteTest, AsksFirst) {
    const DeleteCase& c = GetParam();
    ScriptedPrompt prompt;
    for (const auto& [text, answer] : c.boxes)
        prompt.expect(text, answer);
    for (int load = 1; load <= c.records; ++load)
        AddRecord(*master_, load == 2 ? 3 : 1, Groups(load == 2 ? 3 : 1), 0, 0, load);
    master_->first();
    TfrmMasterMaintenance& w = open();
    w.activated();
    if (c.byKey)
        QTest::keyClick(w.findChild<QWidget*>(QStringLiteral("navMaster")), Qt::Key_Delete);
    else
        click("btnDelete");
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(master_->recordCount(), c.left);
    EXPECT_EQ(w.isVisible(), c.label != nullptr);
    if (!c.label) {
        EXPECT_FALSE(reportCurrent_.back());
        return;
    }
    EXPECT_EQ(w.recordLabel()->text().toStdString(), c.label);
    const int shown = c.records == c.left ? 1 : 2;
    EXPECT_EQ(text("edtLoadNum"), std::to_string(shown));
    EXPECT_EQ(rowsShown(), shown == 2 ? 3 : 1);
}

INSTANTIATE_TEST_SUITE_P(, MasterDeleteTest, ::testing::ValuesIn(kDeletes),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
