#include "master/CMaster.h"

#include "common/SampleLoad.h"
#include "common/ScriptedPrompt.h"
#include "load/LoadFileReader.h"
#include "load/LoadFileSamples.h"
#include "master/MasterFields.h"
#include "master/MasterPosting.h"
#include "master/MasterTable.h"
#include "master/MasterTestSupport.h"

#include <gtest/gtest.h>

using namespace brimlo;
using namespace brimlo::testing;

namespace {

LogRecord Log(int number, const char* species, int lengthDm, double gross, double cull) {
    LogRecord log;
    log.LOGNUM = number;
    log.SPECIES = species;
    log.CONDCODE = "GR";
    log.PRODCODE = "01";
    log.LENGTH = static_cast<int16_t>(lengthDm);
    log.GROSSVOL = gross;
    log.CULLVOL = cull;
    return log;
}

CMaster ThreeGroupMaster() {
    CMaster m;
    m.BuildFromLoad(SampleHeader(), LoadSummary{});
    m.summary.NUM_GROUPS = 3;
    m.summary.TOTALLOGS = 6;
    m.summary.groups[0] = {"S  GR 01", 2, 9.6, 0.448, 0.02, 0.428, 4.4642857142857144};
    m.summary.groups[1] = {"SP D 01", 4, 20.1, 1.234, 0.0, 1.234, 0.0};
    m.summary.groups[2] = {"P  GR 02", 0, 0.0, 0.0, 0.0, 0.0, 0.0};
    return m;
}

void ExpectSameMembers(const CMaster& a, const CMaster& b) {
    EXPECT_EQ(a.MILLCODE, b.MILLCODE);
    EXPECT_EQ(a.POP, b.POP);
    EXPECT_EQ(a.MILL_NUM, b.MILL_NUM);
    EXPECT_EQ(a.SAWLOGS, b.SAWLOGS);
    EXPECT_EQ(a.LESSEE, b.LESSEE);
    EXPECT_EQ(a.MILL_NAME, b.MILL_NAME);
    EXPECT_EQ(a.DISP, b.DISP);
    EXPECT_EQ(a.SUBDISP, b.SUBDISP);
    EXPECT_EQ(a.BLOCK_NUM, b.BLOCK_NUM);
    EXPECT_EQ(a.LOAD_NUM, b.LOAD_NUM);
    EXPECT_EQ(a.TOP_D, b.TOP_D);
    EXPECT_EQ(a.WEIGH_DATE, b.WEIGH_DATE);
    EXPECT_EQ(a.NET_WEIGHT, b.NET_WEIGHT);
    EXPECT_EQ(a.TM9, b.TM9);
    EXPECT_EQ(a.HSPECIES, b.HSPECIES);
    EXPECT_EQ(a.HCONDCODE, b.HCONDCODE);
    EXPECT_EQ(a.HPRODCODE, b.HPRODCODE);
    EXPECT_EQ(a.SOURCE, b.SOURCE);
    EXPECT_EQ(a.TREES, b.TREES);
    EXPECT_EQ(a.summary, b.summary);
}

} // namespace

TEST(MasterFieldList, LayoutOfMasterDb) {
    const FieldList& f = MasterFieldList();
    ASSERT_EQ(f.size(), 105u);
    EXPECT_EQ(f[0], (FieldDef{"MILLCODE", FieldType::Alpha, 2}));
    EXPECT_EQ(f[1], (FieldDef{"POP", FieldType::Short, 0}));
    EXPECT_EQ(f[3], (FieldDef{"SAWLOGS", FieldType::Alpha, 1}));
    EXPECT_EQ(f[11], (FieldDef{"WEIGH_DATE", FieldType::Date, 0}));
    EXPECT_EQ(f[12], (FieldDef{"NET_WEIGHT", FieldType::Long, 0}));
    EXPECT_EQ(f[18], (FieldDef{"TREES", FieldType::Long, 0}));
    // Field 20 + 7(n - 1) is SPCDPRn, 26 + 7(n - 1) CULLPERn (1-based).
    EXPECT_EQ(f[19], (FieldDef{"SPCDPR1", FieldType::Alpha, 8}));
    EXPECT_EQ(f[20 + 7 * 11 - 1], (FieldDef{"SPCDPR12", FieldType::Alpha, 8}));
    EXPECT_EQ(f[21 + 7 * 4 - 1], (FieldDef{"LOGNUMS5", FieldType::Long, 0}));
    EXPECT_EQ(f[26 + 7 * 11 - 1], (FieldDef{"CULLPER12", FieldType::Number, 0}));
    EXPECT_EQ(f[103], (FieldDef{"NUM_GROUPS", FieldType::Short, 0}));
    EXPECT_EQ(f[104], (FieldDef{"TOTALLOGS", FieldType::Long, 0}));
}

TEST(BuildFromLoad, CopiesTheHeaderAndSummarisesTheLogs) {
    CMaster m;
    m.BuildFromLoad(SampleHeader(), {Log(2, "S", 46, 198, 0), Log(1, "S", 50, 250, 20)});
    EXPECT_EQ(m.MILLCODE, "AB");
    EXPECT_EQ(m.POP, 1);
    EXPECT_EQ(m.MILL_NUM, 123456);
    EXPECT_EQ(m.SAWLOGS, 'N');
    EXPECT_EQ(m.LESSEE, "LESSEE CO");
    EXPECT_EQ(m.MILL_NAME, "NORTH MILL");
    EXPECT_EQ(m.DISP, "CTL");
    EXPECT_EQ(m.SUBDISP, "A1");
    EXPECT_EQ(m.BLOCK_NUM, "12");
    EXPECT_EQ(m.LOAD_NUM, 123);
    EXPECT_EQ(m.TOP_D, 16);
    EXPECT_EQ(m.WEIGH_DATE, Date::fromYmd(2006, 12, 16));
    EXPECT_EQ(m.NET_WEIGHT, 25000);
    EXPECT_EQ(m.TM9, "TM9-77");
    EXPECT_EQ(m.HSPECIES, "S");
    EXPECT_EQ(m.HCONDCODE, "GR");
    EXPECT_EQ(m.HPRODCODE, "01");
    EXPECT_EQ(m.SOURCE, "CREEK");
    EXPECT_EQ(m.TREES, 5);
    EXPECT_EQ(m.summary.NUM_GROUPS, 1);
    EXPECT_EQ(m.summary.TOTALLOGS, 2);
    EXPECT_EQ(m.summary.groups[0].SPCDPR, "S  GR 01");
    EXPECT_DOUBLE_EQ(m.summary.groups[0].GROSSVOL, 0.448);
}

TEST(BuildFromLoad, SawlogsTakesItsFirstCharacter) {
    HeaderRecord h = SampleHeader();
    h.SAWLOGS = "Yes";
    CMaster m;
    m.BuildFromLoad(h, std::vector<LogRecord>{});
    EXPECT_EQ(m.SAWLOGS, 'Y');
}

TEST(BuildFromLoad, NetWeightHalvesGoToTheEvenNeighbour) {
    const std::pair<double, int32_t> cases[] = {
        {12345.5, 12346},
        {12344.5, 12344},
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {12345.4, 12345},
        {12345.6, 12346},
        {-2.5, -2},
        {-3.5, -4},
        {999999.5, 1000000},
        {25000.0, 25000},
        {12344.50001, 12345},
        {12344.49999, 12344},
    };
    for (const auto& [weight, posted] : cases) {
        HeaderRecord h = SampleHeader();
        h.NETWEIGHT = weight;
        CMaster m;
        m.BuildFromLoad(h, std::vector<LogRecord>{});
        EXPECT_EQ(m.NET_WEIGHT, posted) << weight;
    }
}

// A net weight with a fraction in a load file is rounded only as it is posted.
TEST(BuildFromLoad, NetWeightFromAFileWithAFraction) {
    brimlo::testing::ScriptedPrompt prompt;
    for (const auto& [text, posted] : {std::pair{"  12.5", 12}, {"  13.5", 14}}) {
        const LoadFileReadResult r = ReadLoadText(brimlo::testing::kSampleLogLine +
                                                      brimlo::testing::SampleHeaderWith(83, text),
                                                  "l.txt", prompt);
        CMaster m;
        m.BuildFromLoad(r.load.header, r.load.logs);
        EXPECT_EQ(m.NET_WEIGHT, posted) << text;
    }
}

TEST(BuildFromLoad, EmptySawlogsIsARangeErrorAfterTheSummaryIsCleared) {
    CMaster m = ThreeGroupMaster();
    HeaderRecord h = SampleHeader();
    h.SAWLOGS.clear();
    try {
        m.BuildFromLoad(h, {Log(1, "S", 50, 250, 20)});
        FAIL() << "no range error";
    } catch (const BrimloError& e) {
        EXPECT_EQ(e.text(), "Range check error");
    }
    EXPECT_EQ(m.summary, LoadSummary{});
}

TEST(BuildFromLoad, AWeightNoLongIntegerHoldsIsARangeError) {
    HeaderRecord h = SampleHeader();
    h.NETWEIGHT = 3e9;
    CMaster m;
    EXPECT_THROW(m.BuildFromLoad(h, std::vector<LogRecord>{}), BrimloError);
}

TEST(MasterRecord, HoldsTheMembersAtTheirPositions) {
    const Record r = ThreeGroupMaster().ToMasterRecord();
    ASSERT_EQ(r.size(), 105u);
    EXPECT_EQ(r[0], Value("AB"));
    EXPECT_EQ(r[1], Value(int32_t{1}));
    EXPECT_EQ(r[2], Value(int32_t{123456}));
    EXPECT_EQ(r[3], Value("N"));
    EXPECT_EQ(r[9], Value(int32_t{123}));
    EXPECT_EQ(r[10], Value(int32_t{16}));
    EXPECT_EQ(r[11], Value(Date::fromYmd(2006, 12, 16)));
    EXPECT_EQ(r[12], Value(int32_t{25000}));
    EXPECT_EQ(r[19], Value("S  GR 01"));
    EXPECT_EQ(r[20], Value(int32_t{2}));
    EXPECT_EQ(r[21], Value(9.6));
    EXPECT_EQ(r[19 + 7], Value("SP D 01"));
    EXPECT_EQ(r[103], Value(int32_t{3}));
    EXPECT_EQ(r[104], Value(int32_t{6}));
}

TEST(MasterRecord, GroupsAfterNumGroupsAreWrittenEmptyAndZero) {
    CMaster m = ThreeGroupMaster();
    m.summary.groups[4] = {"XX YY ZZ", 9, 9.0, 9.0, 9.0, 9.0, 9.0}; // left from an earlier use
    const Record r = m.ToMasterRecord();
    for (int n = 4; n <= 12; ++n) {
        const int first = 19 + 7 * (n - 1);
        EXPECT_EQ(r[first].asString(), "") << n;
        EXPECT_EQ(r[first + 1].asInt(), 0) << n;
        for (int k = 2; k < 7; ++k)
            EXPECT_EQ(r[first + k].asDouble(), 0.0) << n << " " << k;
    }
}

TEST(MasterRecord, RoundTripsThroughTheMasterTable) {
    auto dataset = NewMasterDataset();
    MasterTable table(*dataset);
    const CMaster posted = ThreeGroupMaster();
    ASSERT_TRUE(posted.PostToMaster(table));
    CMaster read;
    ASSERT_TRUE(read.LoadFromMaster(table, ""));
    ExpectSameMembers(read, posted);
}

TEST(LoadFromMaster, LeavesGroupsAfterNumGroupsAsTheyStand) {
    auto dataset = NewMasterDataset();
    MasterTable table(*dataset);
    ThreeGroupMaster().PostToMaster(table);
    CMaster m;
    m.summary.groups[5].SPCDPR = "KEPT";
    m.LoadFromMaster(table, "");
    EXPECT_EQ(m.summary.groups[5].SPCDPR, "KEPT");
    EXPECT_EQ(m.summary.groups[2].SPCDPR, "P  GR 02");
}

TEST(LoadFromMaster, SawlogsFallsBackToTheDefaultsRecord) {
    auto dataset = NewMasterDataset();
    AddMasterRecord(*dataset, {{"MILLCODE", "AB"}, {"NUM_GROUPS", 1}});
    MasterTable table(*dataset);
    CMaster m;
    ASSERT_TRUE(m.LoadFromMaster(table, "Yes"));
    EXPECT_EQ(m.SAWLOGS, 'Y');
    try {
        m.LoadFromMaster(table, "");
        FAIL() << "no range error";
    } catch (const BrimloError& e) {
        EXPECT_EQ(e.text(), "Range check error");
    }
}

TEST(LoadFromMaster, AGroupCountBeyondTwelveReadsTwelveGroups) {
    auto dataset = NewMasterDataset();
    AddMasterRecord(*dataset, {{"SAWLOGS", "N"}, {"NUM_GROUPS", 40}, {"SPCDPR12", "S  GR 01"}});
    MasterTable table(*dataset);
    CMaster m;
    m.LoadFromMaster(table, "");
    EXPECT_EQ(m.summary.NUM_GROUPS, 12);
    EXPECT_EQ(m.summary.groups[11].SPCDPR, "S  GR 01");
}

class PostToMaster : public ::testing::Test {
protected:
    MemoryTableStore* store = nullptr;
    std::unique_ptr<Dataset> dataset = NewMasterDataset(&store);
    MasterTable table{*dataset};

    CMaster Load(const char* millCode, int32_t loadNum, int16_t pop, int32_t weight) {
        CMaster m = ThreeGroupMaster();
        m.MILLCODE = millCode;
        m.LOAD_NUM = loadNum;
        m.POP = pop;
        m.NET_WEIGHT = weight;
        return m;
    }
    std::vector<int32_t> Weights() {
        std::vector<int32_t> w;
        for (const StoredRow& row : store->readAll())
            w.push_back(row.values[kMasterNetWeight].asInt());
        return w;
    }
};

TEST_F(PostToMaster, TheSameKeyReplacesItsRecordInPlace) {
    Load("AB", 123, 1, 100).PostToMaster(table);
    Load("AB", 124, 1, 200).PostToMaster(table);
    Load("AB", 123, 1, 300).PostToMaster(table);
    EXPECT_EQ(Weights(), (std::vector<int32_t>{300, 200}));
}

TEST_F(PostToMaster, AnyDifferenceInTheKeyAddsARecord) {
    Load("AB", 123, 1, 100).PostToMaster(table);
    Load("AB", 123, 2, 200).PostToMaster(table);
    Load("ab", 123, 1, 300).PostToMaster(table); // case counts
    Load("AB", 5123, 1, 400).PostToMaster(table);
    EXPECT_EQ(Weights(), (std::vector<int32_t>{100, 200, 300, 400}));
}

TEST_F(PostToMaster, LocateFindsTheKeyOrLeavesThePlace) {
    Load("AB", 1, 1, 100).PostToMaster(table);
    Load("AB", 2, 1, 200).PostToMaster(table);
    Load("AB", 3, 1, 300).PostToMaster(table);
    EXPECT_TRUE(CMaster::LocateMaster(table, "AB", 2, 1));
    EXPECT_EQ(dataset->recNo(), 2);
    EXPECT_FALSE(CMaster::LocateMaster(table, "AB", 2, 3));
    EXPECT_FALSE(CMaster::LocateMaster(table, "A", 2, 1));
    EXPECT_EQ(dataset->recNo(), 2);
}

TEST_F(PostToMaster, AFailedWriteLeavesTheTableAsItWas) {
    Load("AB", 1, 1, 100).PostToMaster(table);
    store->failWrites = true;
    EXPECT_THROW(Load("AB", 1, 1, 999).PostToMaster(table), BrimloError);
    EXPECT_THROW(Load("AB", 2, 1, 999).PostToMaster(table), BrimloError);
    EXPECT_EQ(dataset->state(), DatasetState::Browse);
    EXPECT_EQ(dataset->recordCount(), 1);
    store->failWrites = false;
    EXPECT_EQ(Weights(), (std::vector<int32_t>{100}));
}

TEST_F(PostToMaster, PostingALoadKeepsTheTablesPlace) {
    Load("AB", 1, 1, 100).PostToMaster(table);
    Load("AB", 2, 1, 200).PostToMaster(table);
    dataset->first();
    CMaster master;
    HeaderRecord header = SampleHeader();
    header.MILL_CODE = "AB";
    header.LOAD_NUM = 2;
    header.POP = 1;
    header.NETWEIGHT = 12344.5;
    PostLoadToMaster(master, table, header, {Log(1, "S", 50, 250, 20)});
    EXPECT_EQ(dataset->recNo(), 1);
    EXPECT_EQ(Weights(), (std::vector<int32_t>{100, 12344}));
    header.LOAD_NUM = 3;
    PostLoadToMaster(master, table, header, {});
    EXPECT_EQ(dataset->recNo(), 1);
    EXPECT_EQ(Weights(), (std::vector<int32_t>{100, 12344, 12344}));
}

TEST(PostLoadToMasterEmptyTable, StaysOnThePostedRecord) {
    auto dataset = NewMasterDataset();
    MasterTable table(*dataset);
    CMaster master;
    PostLoadToMaster(master, table, SampleHeader(), {});
    EXPECT_EQ(dataset->recordCount(), 1);
    EXPECT_EQ(dataset->recNo(), 1);
}
