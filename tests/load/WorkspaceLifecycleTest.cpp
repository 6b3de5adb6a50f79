#include "WorkspaceTestSupport.h"
#include "common/FileBytes.h"
#include "load/LoadLayouts.h"
#include "load/LoadWorkspace.h"
#include "load/WorkspaceRecords.h"

namespace brimlo::testing {
namespace {

class WorkspaceLifecycleTest : public LoadFixture {};

// The first new load is untitled1.txt in workspace 1; every post is on disk
// at once, and closing deletes the workspace files.
TEST_F(WorkspaceLifecycleTest, FirstNewLoadLivesInWorkspaceOneUntilClosed) {
    writeTypicalDefaults();
    auto doc = shownNewLoad();
    EXPECT_EQ(doc->fileName(), "untitled1.txt");
    EXPECT_EQ(view.caption, "BRIMLO - Data Entry - untitled1.txt");
    EXPECT_EQ(doc->caption(), "BRIMLO - Data Entry - untitled1.txt");
    EXPECT_TRUE(doc->isUntitled());
    EXPECT_TRUE(doc->flags().Modified);
    EXPECT_TRUE(doc->flags().AskToSave);
    EXPECT_FALSE(doc->flags().Loading);
    EXPECT_TRUE(exists("Header1.db"));

    Key(*doc, "BUTTD", int32_t{30});
    doc->log().post();
    auto onDisk = SqliteStore::open(appDir + "Log1.db")->readAll();
    ASSERT_EQ(onDisk.size(), 1u);
    const LogRecord stored = LogOf(LogFieldIndex(LogFields()), onDisk[0].values);
    EXPECT_EQ(stored.BUTTD, 30);
    EXPECT_EQ(stored.GROSSVOL, 256.0); // 30/20/50 by Smalian's formula

    // An index file beside the log table goes with it.
    WriteBytes(appDir + "Log1.PX", "x");
    doc->Close();
    EXPECT_FALSE(doc->hasLoad());
    for (const char* f :
         {"Header1.db", "Log1.db", "Log1.PX", "Header1.db-journal", "Log1.db-journal"})
        EXPECT_FALSE(exists(f)) << f;
    EXPECT_TRUE(exists("defaults.db"));
}

TEST_F(WorkspaceLifecycleTest, UntitledNameLivesInTheDataDirectory) {
    writeTypicalDefaults({{"DEFAULT_DATA_PATH", "D:\\Loads"}});
    EXPECT_EQ(LoadDocument::NewLoad(env())->fileName(), "D:\\Loads\\untitled1.txt");
    writeTypicalDefaults({{"DEFAULT_DATA_PATH", "/srv/loads"}});
    EXPECT_EQ(LoadDocument::NewLoad(env())->fileName(), "/srv/loads/untitled2.txt");
}

TEST_F(WorkspaceLifecycleTest, HeaderSeededFromDefaultsWithoutNumbers) {
    writeDefaults({{"SPECIES", "S"},
                   {"CONDCODE", "GR"},
                   {"PRODCODE", "01"},
                   {"VOL_CALC_METH", "A"},
                   {"LESSEE", "WOODS LTD"},
                   {"SAWLOGS", "Y"}});
    auto doc = LoadDocument::NewLoad(env());
    const Dataset& h = doc->header();
    EXPECT_FALSE(h.isEditing());
    for (const char* f : {"MILL_NUM", "LOAD_NUM", "POP", "HTOPD", "TREES"})
        EXPECT_EQ(Int(h, f), 0) << f;
    EXPECT_EQ(h.field("NETWEIGHT").asDouble(), 0.0);
    EXPECT_EQ(h.field("DATEWEIGHED").asDate(), FixedToday());
    ExpectTexts(h, {{"VOL_CALC_METH", "S"}, {"LESSEE", "WOODS LTD"}, {"MILL_CODE", ""}});
    EXPECT_FALSE(doc->flags().TrimAllowance);
    EXPECT_EQ(view.trimMode, std::optional<bool>(false));
}

// A default product of 06 on a log without gross volume goes back to 01:
// the first log is run through the rules when the load is made.
TEST_F(WorkspaceLifecycleTest, NewLoadTakesTheDefaultsAndItsFirstLogIsRecomputedAndCounted) {
    writeTypicalDefaults({{"DATEWEIGHED", Date::fromYmd(2006, 12, 15)},
                          {"PRODCODE", "06"},
                          {"TRIM_ALLOWANCE", "T"}});
    auto doc = LoadDocument::NewLoad(env());
    const Dataset& h = doc->header();
    EXPECT_EQ(h.field("DATEWEIGHED").asDate(), Date::fromYmd(2006, 12, 15));
    EXPECT_EQ(h.field("NETWEIGHT").asDouble(), 20000.0);
    ExpectInts(h, {{"POP", 7}, {"LOAD_NUM", 123}});
    EXPECT_EQ(Text(h, "SAWLOGS"), "Y");
    EXPECT_TRUE(doc->flags().TrimAllowance);
    EXPECT_EQ(view.trimMode, std::optional<bool>(true));
    const Dataset& log = doc->log();
    ASSERT_EQ(log.recordCount(), 1);
    EXPECT_FALSE(log.isEditing());
    // No butt diameter under Smalian's formula: no gross volume.
    ExpectInts(log, {{"LOGNUM", 1}, {"TOPD", 20}, {"LENGTH", 50}, {"GROSSVOL", 0}});
    ExpectTexts(log,
                {{"SPECIES", "S"}, {"CONDCODE", "GR"}, {"PRODCODE", "01"}, {"PROD_OVERRIDE", "N"}});
    EXPECT_EQ(doc->tally().logsOf(" SGR01"), 1);
    EXPECT_EQ(doc->tally().logsOf(" SGR06"), 0);
    EXPECT_EQ(view.lastStatus(), "SP-CD-PR Combinations: 1");
}

TEST_F(WorkspaceLifecycleTest, KeptWorkspaceIsNeverOverwritten) {
    writeTypicalDefaults();
    WriteBytes(appDir + "Header1.db", "kept header");
    WriteBytes(appDir + "Log2.db", "kept log");
    auto doc = LoadDocument::NewLoad(env());
    EXPECT_EQ(doc->fileName(), "untitled3.txt");
    EXPECT_EQ(doc->workspace().headerPath(), appDir + "Header3.db");
    EXPECT_EQ(counter.value(), 3);
    EXPECT_EQ(ReadBytes(appDir + "Header1.db"), "kept header");
    // A workspace that cannot be made opens no window.
    LoadEnvironment broken = env();
    broken.appDataDirectory = appDir + "missing/";
    EXPECT_THROW(LoadDocument::NewLoad(broken), BrimloError);
    EXPECT_FALSE(std::filesystem::exists(appDir + "missing"));
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

// A workspace taken over raises the counter past its number; one below the
// counter leaves it and takes the next free name.
TEST_F(WorkspaceLifecycleTest, TakenOverWorkspaceRaisesTheCounterButNeverLowersIt) {
    writeTypicalDefaults();
    LeaveWorkspace(appDir, 5, {"S", "P", "S"});
    LeaveWorkspace(appDir, 1, {"S"});
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
    auto below = LoadDocument::TakeOverWorkspace(env(), 1, appDir + "Header1.db");
    EXPECT_EQ(below->fileName(), "untitled7.txt");
    EXPECT_EQ(counter.value(), 7);
    EXPECT_EQ(below->log().recordCount(), 1);

    // The next log of the taken-over load follows its highest number.
    taken->windowShown();
    taken->log().insert();
    EXPECT_EQ(Int(taken->log(), "LOGNUM"), 6);
    EXPECT_EQ(taken->log().recordCount(), 4);
}

TEST_F(WorkspaceLifecycleTest, TakenOverWorkspaceWithThirteenCombinationsWarnsOnce) {
    writeTypicalDefaults();
    LeaveWorkspace(
        appDir, 2,
        {"S", "P", "F", "SP", "FA", "PW", "LT", "SB", "DF", "SE", "PF", "IC", "IF", "S"});
    prompt.expect(kThirteenWarning);
    auto taken = LoadDocument::TakeOverWorkspace(env(), 2, appDir + "Header2.db");
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(prompt.shown().back().caption, "Warning");
    taken->windowShown();
    EXPECT_EQ(view.lastStatus(), "SP-CD-PR Combinations: 13");
}

TEST_F(WorkspaceLifecycleTest, DamagedWorkspaceLeavesAWindowWithoutALoad) {
    writeTypicalDefaults();
    for (const char* f : {"Header4.db", "Log4.db"})
        WriteBytes(appDir + f, "not a table");
    prompt.allowAny();
    auto taken = LoadDocument::TakeOverWorkspace(env(), 4, appDir + "Header4.db");
    EXPECT_FALSE(taken->hasLoad());
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].caption, "BRIMLO");
    EXPECT_TRUE(taken->CloseQuery()); // nothing to save
    taken->Close();
    EXPECT_FALSE(exists("Header4.db") || exists("Log4.db"));
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

using T = FieldType;

// A column of a workspace table and the value it holds for the records
// written below.
struct Column {
    const char* name;
    FieldType type;
    int size;
    Value stored;
};

const Date kWeighed = Date::fromYmd(2024, 5, 6);

// clang-format off
const std::vector<Column> kHeaderColumns = {
    {"LESSEE", T::Alpha, 20, "Lessee"}, {"MILL_NAME", T::Alpha, 20, "Mill"},
    {"DISP", T::Alpha, 10, "D1"}, {"SUBDISP", T::Alpha, 4, "S1"},
    {"MILL_NUM", T::Long, 0, 1234567}, {"BLOCK_NUM", T::Alpha, 4, "B7"},
    {"LOAD_NUM", T::Long, 0, 54321}, {"POP", T::Short, 0, 12},
    {"HTOPD", T::Short, 0, 9}, {"NETWEIGHT", T::Number, 0, 25000.0},
    {"TM9", T::Alpha, 10, "TM9-1"}, {"HSPECIES", T::Alpha, 2, "S"},
    {"HCONDCODE", T::Alpha, 2, "GR"}, {"HPRODCODE", T::Alpha, 2, "01"},
    {"SOURCE", T::Alpha, 20, "Source"}, {"MILL_CODE", T::Alpha, 2, "MC"},
    {"LOAD_ID", T::Short, 0, 33}, {"TREES", T::Short, 0, 44},
    {"SAWLOGS", T::Alpha, 1, "Y"}, {"DATEWEIGHED", T::Date, 0, kWeighed},
    {"VOL_CALC_METH", T::Alpha, 1, "A"}, {"SCALER_NAME", T::Alpha, 20, "Scaler"},
    {"SCALER_PERMIT", T::Alpha, 6, "P123"}, {"TRIM_ALLOWANCE", T::Logical, 0, Value()},
};
// clang-format on

const std::vector<Column> kLogColumns = {
    {"LOGNUM", T::Long, 0, 7},        {"SPECIES", T::Alpha, 2, "F"},
    {"CONDCODE", T::Alpha, 2, "DR"},  {"PRODCODE", T::Alpha, 2, "06"},
    {"TOPD", T::Short, 0, 11},        {"LENGTH", T::Short, 0, 52},
    {"C1", T::Short, 0, 13},          {"C2", T::Short, 0, 14},
    {"C3", T::Short, 0, 15},          {"CULL_TYPE", T::Alpha, 1, "4"},
    {"CULL_METH", T::Alpha, 1, "3"},  {"GROSSVOL", T::Number, 0, 321.0},
    {"CULLVOL", T::Number, 0, 45.0},  {"BUTTD", T::Short, 0, 27},
    {"FLAG", T::Alpha, 1, "B"},       {"LOAD_ID", T::Short, 0, 8},
    {"DBH", T::Short, 0, 29},         {"PROD_OVERRIDE", T::Alpha, 1, "Y"},
    {"ACT_LENGTH", T::Short, 0, 530},
};

template <class Table>
void ExpectLayout(const Table& descriptors, const FieldList& table,
                  const std::vector<Column>& expected) {
    ASSERT_EQ(descriptors.size(), expected.size());
    ASSERT_EQ(table.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_STREQ(descriptors[i].name, expected[i].name);
        const FieldDef want{expected[i].name, expected[i].type, expected[i].size};
        EXPECT_EQ((FieldDef{descriptors[i].name, descriptors[i].type, descriptors[i].size}), want);
        EXPECT_EQ(table[i], want);
    }
}

void ExpectStored(const Dataset& table, const std::vector<Column>& expected) {
    for (const Column& c : expected)
        EXPECT_EQ(table.field(c.name), c.stored) << c.name;
}

TEST(WorkspaceFieldsTest, RecordsTravelToTheDeclaredColumnsAndBack) {
    const HeaderRecord header{"Lessee", "Mill",   "D1", "S1",     1234567, "B7",     54321, 12, 9,
                              25000.0,  "TM9-1",  "S",  "GR",     "01",    "Source", "MC",  33, 44,
                              "Y",      kWeighed, "A",  "Scaler", "P123"};
    LogRecord log{99,  "F",   "DR", "06", 11,  52, 13, 14,  15, "4",
                  "3", 321.0, 45.0, 27,   "B", 8,  29, "Y", 530};
    // A second log whose optional numbers hold no value.
    LogRecord bare = log;
    bare.hasLoadId = bare.hasDbh = bare.hasActLength = false;
    bare.LOAD_ID = bare.DBH = bare.ACT_LENGTH = 0;

    TempDir dir;
    auto ws = LoadWorkspace::Named(dir.path().string() + "/", 1);
    ws->create();
    ExpectLayout(kHeaderFields, ws->header().fields(), kHeaderColumns);
    ExpectLayout(kLogFields, ws->log().fields(), kLogColumns);
    ws->header().insert();
    AssignHeader(*ws, header);
    ws->header().post();
    for (const auto& [number, record] : {std::pair{7, log}, std::pair{8, bare}}) {
        ws->log().insert();
        ws->setField(LogField::LOGNUM, Value(number)); // AssignLog leaves the number alone
        AssignLog(*ws, record);
        ws->log().post();
    }
    ws->close();

    auto reopened = LoadWorkspace::FromHeaderFile(ws->headerPath());
    reopened->openHeader();
    reopened->openLog();
    ExpectStored(reopened->header(), kHeaderColumns);
    ExpectStored(reopened->log(), kLogColumns);
    EXPECT_EQ(HeaderOf(*reopened), header);
    log.LOGNUM = 7;
    bare.LOGNUM = 8;
    EXPECT_EQ(LogsOf(*reopened), (std::vector<LogRecord>{log, bare}));
    reopened->log().last();
    for (const char* none : {"LOAD_ID", "DBH", "ACT_LENGTH"})
        EXPECT_TRUE(reopened->log().field(none).isNull()) << none;
}

} // namespace
} // namespace brimlo::testing
