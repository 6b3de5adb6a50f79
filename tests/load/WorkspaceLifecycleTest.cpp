#include "WorkspaceTestSupport.h"
#include "load/LoadLayouts.h"
#include "load/WorkspaceRecords.h"
#include "support/BrimloError.h"

#include <fstream>

namespace brimlo::testing {
namespace {

class WorkspaceLifecycleTest : public LoadFixture {};

TEST_F(WorkspaceLifecycleTest, FirstNewLoadIsUntitledOneInWorkspaceOne) {
    writeTypicalDefaults();
    ScriptedPrompt prompt;
    auto doc = shownNewLoad();
    EXPECT_EQ(doc->fileName(), "untitled1.txt");
    EXPECT_TRUE(exists("Header1.db"));
    EXPECT_TRUE(exists("Log1.db"));
    EXPECT_EQ(view.caption, "BRIMLO - Data Entry - untitled1.txt");
    EXPECT_EQ(doc->caption(), "BRIMLO - Data Entry - untitled1.txt");
    EXPECT_TRUE(doc->isUntitled());
    EXPECT_TRUE(doc->flags().Modified);
    EXPECT_TRUE(doc->flags().AskToSave);
    EXPECT_FALSE(doc->flags().Loading);
}

TEST_F(WorkspaceLifecycleTest, UntitledNameLivesInTheDataDirectory) {
    writeTypicalDefaults({{"DEFAULT_DATA_PATH", "D:\\Loads"}});
    ScriptedPrompt prompt;
    auto windows = LoadDocument::NewLoad(env());
    EXPECT_EQ(windows->fileName(), "D:\\Loads\\untitled1.txt");
    writeTypicalDefaults({{"DEFAULT_DATA_PATH", "/srv/loads"}});
    auto posix = LoadDocument::NewLoad(env());
    EXPECT_EQ(posix->fileName(), "/srv/loads/untitled2.txt");
}

TEST_F(WorkspaceLifecycleTest, HeaderSeededFromDefaultsWithoutNumbers) {
    writeDefaults({{"SPECIES", "S"},
                   {"CONDCODE", "GR"},
                   {"PRODCODE", "01"},
                   {"VOL_CALC_METH", "A"},
                   {"LESSEE", "WOODS LTD"},
                   {"SAWLOGS", "Y"}});
    ScriptedPrompt prompt;
    auto doc = LoadDocument::NewLoad(env());
    const Dataset& h = doc->header();
    EXPECT_FALSE(h.isEditing());
    for (const char* f : {"MILL_NUM", "LOAD_NUM", "POP", "HTOPD", "TREES"})
        EXPECT_EQ(Int(h, f), 0) << f;
    EXPECT_EQ(h.field("NETWEIGHT").asDouble(), 0.0);
    EXPECT_EQ(h.field("DATEWEIGHED").asDate(), FixedToday());
    EXPECT_EQ(Text(h, "VOL_CALC_METH"), "S");
    EXPECT_EQ(Text(h, "LESSEE"), "WOODS LTD");
    EXPECT_EQ(Text(h, "MILL_CODE"), "");
    EXPECT_FALSE(doc->flags().TrimAllowance);
    EXPECT_EQ(view.trimMode, std::optional<bool>(false));
}

// A default product of 06 on a log without gross volume goes back to 01:
// the first log is run through the rules when the load is made.
TEST_F(WorkspaceLifecycleTest, NewLoadTakesTheDefaultsAndItsFirstLogIsRecomputedAndCounted) {
    writeTypicalDefaults({{"DATEWEIGHED", Date::fromYmd(2006, 12, 15)},
                          {"PRODCODE", "06"},
                          {"TRIM_ALLOWANCE", "T"}});
    ScriptedPrompt prompt;
    auto doc = LoadDocument::NewLoad(env());
    const Dataset& h = doc->header();
    EXPECT_EQ(h.field("DATEWEIGHED").asDate(), Date::fromYmd(2006, 12, 15));
    EXPECT_EQ(h.field("NETWEIGHT").asDouble(), 20000.0);
    EXPECT_EQ(Int(h, "POP"), 7);
    EXPECT_EQ(Int(h, "LOAD_NUM"), 123);
    EXPECT_EQ(Text(h, "SAWLOGS"), "Y");
    EXPECT_TRUE(doc->flags().TrimAllowance);
    EXPECT_EQ(view.trimMode, std::optional<bool>(true));
    const Dataset& log = doc->log();
    ASSERT_EQ(log.recordCount(), 1);
    EXPECT_FALSE(log.isEditing());
    EXPECT_EQ(Int(log, "LOGNUM"), 1);
    EXPECT_EQ(Text(log, "SPECIES"), "S");
    EXPECT_EQ(Text(log, "CONDCODE"), "GR");
    EXPECT_EQ(Int(log, "TOPD"), 20);
    EXPECT_EQ(Int(log, "LENGTH"), 50);
    EXPECT_EQ(Text(log, "PROD_OVERRIDE"), "N");
    EXPECT_EQ(Int(log, "GROSSVOL"), 0); // no butt diameter under Smalian's formula
    EXPECT_EQ(Text(log, "PRODCODE"), "01");
    EXPECT_EQ(doc->tally().logsOf(" SGR01"), 1);
    EXPECT_EQ(doc->tally().logsOf(" SGR06"), 0);
    EXPECT_EQ(view.lastStatus(), "SP-CD-PR Combinations: 1");
}

TEST_F(WorkspaceLifecycleTest, CloseDeletesTheWorkspaceFiles) {
    writeTypicalDefaults();
    ScriptedPrompt prompt;
    auto doc = shownNewLoad();
    // An index file beside the log table goes with it.
    std::ofstream(appDir + "Log1.PX") << "x";
    doc->Close();
    EXPECT_FALSE(doc->hasLoad());
    for (const char* f :
         {"Header1.db", "Log1.db", "Log1.PX", "Header1.db-journal", "Log1.db-journal"})
        EXPECT_FALSE(exists(f)) << f;
    EXPECT_TRUE(exists("defaults.db"));
}

TEST_F(WorkspaceLifecycleTest, KeptWorkspaceIsNeverOverwritten) {
    writeTypicalDefaults();
    std::ofstream(appDir + "Header1.db") << "kept header";
    std::ofstream(appDir + "Log2.db") << "kept log";
    ScriptedPrompt prompt;
    auto doc = LoadDocument::NewLoad(env());
    EXPECT_EQ(doc->fileName(), "untitled3.txt");
    EXPECT_EQ(doc->workspace().headerPath(), appDir + "Header3.db");
    EXPECT_EQ(counter.value(), 3);
    std::ifstream kept(appDir + "Header1.db");
    std::string text;
    std::getline(kept, text);
    EXPECT_EQ(text, "kept header");
}

TEST_F(WorkspaceLifecycleTest, WorkspaceThatCannotBeCreatedOpensNoWindow) {
    writeTypicalDefaults();
    ScriptedPrompt prompt;
    LoadEnvironment broken = env();
    broken.appDataDirectory = appDir + "missing/";
    EXPECT_THROW(LoadDocument::NewLoad(broken), BrimloError);
    EXPECT_FALSE(std::filesystem::exists(appDir + "missing"));
}

TEST_F(WorkspaceLifecycleTest, EveryPostIsOnDiskAtOnce) {
    writeTypicalDefaults();
    ScriptedPrompt prompt;
    auto doc = shownNewLoad();
    Key(*doc, "BUTTD", int32_t{30});
    doc->log().post();
    auto onDisk = SqliteStore::open(appDir + "Log1.db")->readAll();
    ASSERT_EQ(onDisk.size(), 1u);
    const LogRecord stored = LogOf(LogFieldIndex(LogFields()), onDisk[0].values);
    EXPECT_EQ(stored.BUTTD, 30);
    EXPECT_EQ(stored.GROSSVOL, 256.0); // 30/20/50 by Smalian's formula
}

// A workspace as an earlier run leaves it: n logs of the given species.
void LeaveWorkspace(const std::string& dir, int n, const std::vector<std::string>& species) {
    auto ws = LoadWorkspace::Named(dir, n);
    ws->create();
    Dataset& log = ws->log();
    int32_t number = 1;
    for (const std::string& sp : species) {
        log.insert();
        log.setField("LOGNUM", Value(number));
        number += 2; // gaps in the numbering are kept
        log.setField("SPECIES", sp);
        log.setField("CONDCODE", "GR");
        log.setField("PRODCODE", "01");
        log.post();
    }
    ws->header().insert();
    ws->header().setField("VOL_CALC_METH", "S");
    ws->header().post();
    ws->close();
}

TEST_F(WorkspaceLifecycleTest, TakenOverWorkspaceRaisesTheCounter) {
    writeTypicalDefaults();
    LeaveWorkspace(appDir, 5, {"S", "P", "S"});
    ScriptedPrompt prompt;
    auto taken = LoadDocument::TakeOverWorkspace(env(), 5, appDir + "Header5.db");
    ASSERT_TRUE(taken->hasLoad());
    EXPECT_EQ(taken->fileName(), "untitled1.txt");
    EXPECT_TRUE(taken->flags().Modified);
    EXPECT_EQ(taken->tally().combinationCount(), 2);
    EXPECT_EQ(taken->flags().LastLogNumber, 5);
    EXPECT_EQ(taken->workspace().logPath(), appDir + "Log5.db");
    EXPECT_FALSE(view.trimMode.has_value());

    auto fresh = LoadDocument::NewLoad(env());
    EXPECT_EQ(fresh->fileName(), "untitled6.txt");
    EXPECT_EQ(fresh->workspace().headerPath(), appDir + "Header6.db");

    // The next log of the taken-over load follows its highest number.
    taken->windowShown();
    taken->log().insert();
    EXPECT_EQ(Int(taken->log(), "LOGNUM"), 6);
    EXPECT_EQ(taken->log().recordCount(), 4);
}

TEST_F(WorkspaceLifecycleTest, TakenOverWorkspaceBelowTheCounterKeepsTheCounter) {
    writeTypicalDefaults();
    LeaveWorkspace(appDir, 1, {"S"});
    ScriptedPrompt prompt;
    auto a = LoadDocument::NewLoad(env());
    EXPECT_EQ(a->fileName(), "untitled2.txt");
    auto taken = LoadDocument::TakeOverWorkspace(env(), 1, appDir + "Header1.db");
    EXPECT_EQ(taken->fileName(), "untitled3.txt");
    EXPECT_EQ(counter.value(), 3);
    EXPECT_EQ(taken->log().recordCount(), 1);
}

TEST_F(WorkspaceLifecycleTest, TakenOverWorkspaceWithThirteenCombinationsWarnsOnce) {
    writeTypicalDefaults();
    LeaveWorkspace(
        appDir, 2,
        {"S", "P", "F", "SP", "FA", "PW", "LT", "SB", "DF", "SE", "PF", "IC", "IF", "S"});
    ScriptedPrompt prompt;
    prompt.expect("There are 13 Sp-Cd-Pr combinations. The maximum number of combinations that "
                  "are processed is 12");
    auto taken = LoadDocument::TakeOverWorkspace(env(), 2, appDir + "Header2.db");
    EXPECT_TRUE(prompt.allExpectedShown());
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].caption, "Warning");
    taken->windowShown();
    EXPECT_EQ(view.lastStatus(), "SP-CD-PR Combinations: 13");
}

TEST_F(WorkspaceLifecycleTest, DamagedWorkspaceLeavesAWindowWithoutALoad) {
    writeTypicalDefaults();
    std::ofstream(appDir + "Header4.db") << "not a table";
    std::ofstream(appDir + "Log4.db") << "not a table";
    ScriptedPrompt prompt;
    prompt.allowAny();
    auto taken = LoadDocument::TakeOverWorkspace(env(), 4, appDir + "Header4.db");
    EXPECT_FALSE(taken->hasLoad());
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].caption, "BRIMLO");
    EXPECT_TRUE(taken->CloseQuery()); // nothing to save
    taken->Close();
    EXPECT_FALSE(exists("Header4.db"));
    EXPECT_FALSE(exists("Log4.db"));
}

TEST(LogPathForHeaderTest, OnlyTheFileNameChanges) {
    EXPECT_EQ(LogPathForHeader("/data/Header12.db"), "/data/Log12.db");
    EXPECT_EQ(LogPathForHeader("/Header/Brimlo/Header3.db"), "/Header/Brimlo/Log3.db");
    EXPECT_EQ(LogPathForHeader("Header7.db"), "Log7.db");
}

TEST(WorkspaceCounterTest, CountersAreIndependentAndOnlyGrow) {
    TempDir dir;
    WorkspaceCounter a;
    WorkspaceCounter b;
    EXPECT_EQ(a.takeFreeNumber(dir.path().string() + "/"), 1);
    EXPECT_EQ(a.takeFreeNumber(dir.path().string() + "/"), 2);
    EXPECT_EQ(b.value(), 0);
    a.raiseTo(1);
    EXPECT_EQ(a.value(), 2);
    a.raiseTo(9);
    EXPECT_EQ(a.increment(), 10);
}

} // namespace
} // namespace brimlo::testing
