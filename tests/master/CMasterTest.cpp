#include "master/CMaster.h"

#include "common/SampleLoad.h"
#include "common/SampleLog.h"
#include "master/MasterFields.h"
#include "master/MasterPosting.h"
#include "master/MasterTable.h"
#include "master/MasterTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <tuple>

using namespace brimlo;
using namespace brimlo::testing;
using ::testing::ThrowsMessage;

namespace {

// Every member of the master record, the summary apart.
auto Members(const CMaster& m) {
    return std::tie(m.MILLCODE, m.POP, m.MILL_NUM, m.SAWLOGS, m.LESSEE, m.MILL_NAME, m.DISP,
                    m.SUBDISP, m.BLOCK_NUM, m.LOAD_NUM, m.TOP_D, m.WEIGH_DATE, m.NET_WEIGHT, m.TM9,
                    m.HSPECIES, m.HCONDCODE, m.HPRODCODE, m.SOURCE, m.TREES);
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
    HeaderRecord h = SampleHeader();
    h.SAWLOGS = "Yes"; // its first character is taken
    CMaster m;
    m.BuildFromLoad(h, {SampleLog("S", 20, 46, 24, 198), SampleLog("S", 20, 50, 26, 250, 20)});
    EXPECT_EQ(Members(m), std::make_tuple("AB", 1, 123456, 'Y', "LESSEE CO", "NORTH MILL", "CTL",
                                          "A1", "12", 123, 16, Date::fromYmd(2006, 12, 16), 25000,
                                          "TM9-77", "S", "GR", "01", "CREEK", 5));
    EXPECT_EQ(std::tie(m.summary.NUM_GROUPS, m.summary.TOTALLOGS, m.summary.groups[0].SPCDPR),
              std::make_tuple(1, 2, "S  GR 01"));
    EXPECT_DOUBLE_EQ(m.summary.groups[0].GROSSVOL, 0.448);
}

TEST(BuildFromLoad, NetWeightHalvesGoToTheEvenNeighbour) {
    const std::pair<double, int32_t> cases[] = {
        {12345.5, 12346},     {12344.5, 12344},     {0.5, 0},         {1.5, 2},   {2.5, 2},
        {12345.4, 12345},     {12345.6, 12346},     {-2.5, -2},       {-3.5, -4}, {25000.0, 25000},
        {12344.50001, 12345}, {12344.49999, 12344}, {99999.5, 100000}};
    for (const auto& [weight, posted] : cases) {
        HeaderRecord h = SampleHeader();
        h.NETWEIGHT = weight;
        CMaster m;
        m.BuildFromLoad(h, std::vector<LogRecord>{});
        EXPECT_EQ(m.NET_WEIGHT, posted) << weight;
    }
}

TEST(BuildFromLoad, EmptySawlogsOrAWeightTooLargeIsARangeError) {
    CMaster m = ThreeGroupMaster();
    HeaderRecord h = SampleHeader();
    h.SAWLOGS.clear();
    EXPECT_THAT([&] { m.BuildFromLoad(h, {SampleLog("S", 20, 50, 26, 250, 20)}); },
                ThrowsMessage<BrimloError>("Range check error"));
    EXPECT_EQ(m.summary, LoadSummary{}); // cleared before the error
    h = SampleHeader();
    h.NETWEIGHT = 3e9; // more than a long integer holds
    EXPECT_THROW(m.BuildFromLoad(h, std::vector<LogRecord>{}), BrimloError);
}

// Groups after NUM_GROUPS are written empty and zero, whatever an earlier
// use left in them.
TEST(MasterRecord, HoldsTheMembersAtTheirPositions) {
    CMaster m = ThreeGroupMaster();
    m.summary.groups[4] = {"XX YY ZZ", 9, 9.0, 9.0, 9.0, 9.0, 9.0};
    const Record r = m.ToMasterRecord();
    ASSERT_EQ(r.size(), 105u);
    const std::pair<int, Value> cases[] = {
        {0, "AB"},        {1, 1},  {2, 123456}, {3, "N"},        {9, 123}, {10, 16}, {12, 25000},
        {19, "S  GR 01"}, {20, 2}, {21, 9.6},   {26, "SP D 01"}, {103, 3}, {104, 6}};
    for (const auto& [at, value] : cases)
        EXPECT_EQ(r[at], value) << at;
    EXPECT_EQ(r[11], Value(Date::fromYmd(2006, 12, 16)));
    for (int n = 4; n <= 12; ++n) {
        const int first = 19 + 7 * (n - 1);
        EXPECT_EQ(r[first].asString(), "") << n;
        EXPECT_EQ(r[first + 1].asInt(), 0) << n;
        for (int k = 2; k < 7; ++k)
            EXPECT_EQ(r[first + k].asDouble(), 0.0) << n << " " << k;
    }
}

class OnTheMasterTable : public ::testing::Test {
protected:
    MemoryTableStore* store = nullptr;
    std::unique_ptr<Dataset> dataset = NewMasterDataset(&store);
    MasterTable table{*dataset};

    std::vector<int32_t> Weights() {
        std::vector<int32_t> w;
        for (const StoredRow& row : store->readAll())
            w.push_back(row.values[kMasterNetWeight].asInt());
        return w;
    }
};

TEST_F(OnTheMasterTable, MasterRecordsRoundTrip) {
    const CMaster posted = ThreeGroupMaster();
    ASSERT_TRUE(posted.PostToMaster(table));
    CMaster read;
    read.summary.groups[5].SPCDPR = "KEPT"; // groups after NUM_GROUPS stay as they stand
    ASSERT_TRUE(read.LoadFromMaster(table, ""));
    EXPECT_EQ(read.summary.groups[5].SPCDPR, "KEPT");
    read.summary.groups[5].SPCDPR.clear();
    EXPECT_EQ(Members(read), Members(posted));
    EXPECT_EQ(read.summary, posted.summary);
}

TEST_F(OnTheMasterTable, LoadSawlogsFallsBackToTheDefaultsAndTwelveGroupsAtMostAreRead) {
    AddMasterRecord(*dataset, {{"MILLCODE", "AB"}, {"NUM_GROUPS", 40}, {"SPCDPR12", "S  GR 01"}});
    CMaster m;
    ASSERT_TRUE(m.LoadFromMaster(table, "Yes"));
    EXPECT_EQ(m.SAWLOGS, 'Y');
    EXPECT_EQ(m.summary.NUM_GROUPS, 12);
    EXPECT_EQ(m.summary.groups[11].SPCDPR, "S  GR 01");
    EXPECT_THAT([&] { m.LoadFromMaster(table, ""); },
                ThrowsMessage<BrimloError>("Range check error"));
}

TEST_F(OnTheMasterTable, TheSameKeyReplacesInPlaceAnyDifferenceAddsLocateFindsIt) {
    MasterLoad("AB", 123, 1, 100).PostToMaster(table);
    MasterLoad("AB", 124, 1, 200).PostToMaster(table);
    MasterLoad("AB", 123, 1, 300).PostToMaster(table);
    MasterLoad("AB", 123, 2, 400).PostToMaster(table);
    MasterLoad("ab", 123, 1, 500).PostToMaster(table); // case counts
    MasterLoad("AB", 5123, 1, 600).PostToMaster(table);
    EXPECT_EQ(Weights(), (std::vector<int32_t>{300, 200, 400, 500, 600}));
    EXPECT_TRUE(CMaster::LocateMaster(table, "AB", 124, 1));
    EXPECT_EQ(dataset->recNo(), 2);
    EXPECT_FALSE(CMaster::LocateMaster(table, "AB", 124, 3));
    EXPECT_FALSE(CMaster::LocateMaster(table, "A", 124, 1));
    EXPECT_EQ(dataset->recNo(), 2); // a key not found leaves the place
}

TEST_F(OnTheMasterTable, AFailedWriteLeavesTheTableAsItWas) {
    MasterLoad("AB", 1, 1, 100).PostToMaster(table);
    store->failWrites = true;
    EXPECT_THROW(MasterLoad("AB", 1, 1, 999).PostToMaster(table), BrimloError);
    EXPECT_THROW(MasterLoad("AB", 2, 1, 999).PostToMaster(table), BrimloError);
    EXPECT_EQ(dataset->state(), DatasetState::Browse);
    EXPECT_EQ(dataset->recordCount(), 1);
    store->failWrites = false;
    EXPECT_EQ(Weights(), (std::vector<int32_t>{100}));
}

// On an empty table the posted record becomes the current one; after that
// the table keeps its place.
TEST_F(OnTheMasterTable, PostingALoadKeepsTheTablesPlace) {
    CMaster master;
    HeaderRecord header = SampleHeader();
    PostLoadToMaster(master, table, header, {});
    EXPECT_EQ(dataset->recordCount(), 1);
    EXPECT_EQ(dataset->recNo(), 1);
    MasterLoad("AB", 2, 1, 200).PostToMaster(table);
    dataset->first();
    header.LOAD_NUM = 2;
    header.NETWEIGHT = 12344.5;
    PostLoadToMaster(master, table, header, {SampleLog("S", 20, 50, 26, 250, 20)});
    EXPECT_EQ(dataset->recNo(), 1);
    EXPECT_EQ(Weights(), (std::vector<int32_t>{25000, 12344}));
    header.LOAD_NUM = 3;
    PostLoadToMaster(master, table, header, {});
    EXPECT_EQ(dataset->recNo(), 1);
    EXPECT_EQ(Weights(), (std::vector<int32_t>{25000, 12344, 12344}));
}
