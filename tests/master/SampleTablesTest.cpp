#include "master/SampleTables.h"

#include "common/TempDir.h"
#include "master/MasterTable.h"
#include "master/MasterTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace brimlo;
using namespace brimlo::testing;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

namespace {

// Field layout first, then one line per row: name=type:value, as dbfread
// reads the table.
const char* kDumpScript = R"(import sys, dbfread
t = dbfread.DBF(sys.argv[1], load=True)
print('encoding ' + t.encoding)
print(' '.join('%s:%s:%d:%d' % (f.name, f.type, f.length, f.decimal_count) for f in t.fields))
for r in t.records:
    print('|'.join('%s=%s:%s' % (k, type(v).__name__, v) for k, v in r.items()))
)";

const char* kVolumeLayout = "MILL_NUM:C:6:0 POPULATION:C:3:0 LOAD_NUM:C:6:0 LAND_DISP:C:10:0 "
                            "SUB_DISP:C:4:0 LOAD_DATE:D:8:0 SOURCE:C:20:0 SPCDPR:C:8:0 "
                            "NET_SCALE:N:7:0";
const char* kWeightLayout =
    "MILL_LET:C:1:0 MILL_NUM:C:6:0 MILL_CODE:C:2:0 POPULATION:C:3:0 LOAD_NUM:C:6:0 "
    "LESSEE:C:20:0 LAND_DISP:C:10:0 SUB_DISP:C:4:0 BLOCK_NUM:C:4:0 LOAD_DATE:D:8:0 "
    "TOP_DIAM:N:2:0 NETWEIGHT:N:6:0 SOURCE:C:20:0 LOGS:N:5:0 GROSS_M3_M:N:4:0";

const Date kWritten = Date::fromYmd(2026, 12, 9);

void AddOneGroupRecord(Dataset& master, int loadNum, double length, double gross) {
    const std::pair<const char*, Value> fields[] = {
        {"MILL_NUM", 42},        {"MILLCODE", "AB"}, {"POP", 2},
        {"LOAD_NUM", loadNum},   {"SAWLOGS", "N"},   {"NUM_GROUPS", 1},
        {"SPCDPR1", "P  GR 01"}, {"LOGNUMS1", 4},    {"LENGTH1", length},
        {"GROSSVOL1", gross},    {"CULLVOL1", 0.0},  {"NETVOL1", gross}};
    master.insert();
    for (const auto& [name, value] : fields)
        master.setField(name, value);
    master.post();
}

uint32_t Le(const std::string& bytes, std::size_t at, int size) {
    uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return v;
}

class SampleTables : public ::testing::Test {
protected:
    std::unique_ptr<Dataset> dataset = NewMasterDataset();
    MasterTable table{*dataset};
    TempDir dir;

    std::string Directory() const { return dir.path().string() + "/"; }
    std::vector<std::string> Dump(const char* name) { return RunPython(kDumpScript, dir / name); }
};

} // namespace

// Keys lose their separating blanks; a one-letter condition keeps the product whole.
TEST(SampleSpCdPr, KeysLoseTheirSeparatingBlanks) {
    const std::pair<const char*, const char*> cases[] = {
        {"S  GR 01", "S GR01"}, {"SP BD 01", "SPBD01"}, {"SP D 01", "SPD 01"},
        {"S  D 01", "S D 01"},  {"S   01", "S   01"},   {"", ""}};
    for (const auto& [key, sample] : cases)
        EXPECT_EQ(SampleSpCdPr(key), sample) << key;
}

// The folder is named in Windows-1252 text; the tables go into the one the
// file system lists under that name.
TEST_F(SampleTables, VolumeRowsPerGroupAndOneWeightRowPerRecord) {
    // Three groups, one of them a one-letter condition, one without logs; no
    // total of logs, which the tables count from the groups.
    CMaster m = ThreeGroupMaster();
    m.LESSEE = "LESS\xC9"
               "E CO";
    m.summary.groups[1] = {"SP D 01", 1, 5.0, 0.25, 0.0, 0.25, 0.0};
    m.summary.groups[2].SPCDPR = "SP GR 01";
    Record r = m.ToMasterRecord();
    r[kMasterTotalLogs] = Value();
    AddRecord(*dataset, r);
    std::filesystem::create_directory(dir / "D\xC3\xA9p\xC3\xB4t");
    ASSERT_TRUE(WriteSampleTables(Directory() + "D\xE9p\xF4t/", table, kWritten));

    const std::vector<std::string> volume = Dump("D\xC3\xA9p\xC3\xB4t/SAMPLVOL.dbf");
    ASSERT_EQ(volume.size(), 5u) << (volume.empty() ? "" : volume[0]);
    EXPECT_EQ(volume[0], "encoding cp1252");
    EXPECT_EQ(volume[1], kVolumeLayout);
    const std::string same = "MILL_NUM=str:123456|POPULATION=str:1|LOAD_NUM=str:123|"
                             "LAND_DISP=str:CTL|SUB_DISP=str:A1|LOAD_DATE=date:2006-12-16|"
                             "SOURCE=str:CREEK|";
    EXPECT_EQ(volume[2], same + "SPCDPR=str:S GR01|NET_SCALE=int:428");
    EXPECT_EQ(volume[3], same + "SPCDPR=str:SPD 01|NET_SCALE=int:250");
    EXPECT_EQ(volume[4], same + "SPCDPR=str:SPGR01|NET_SCALE=int:0");

    const std::vector<std::string> weight = Dump("D\xC3\xA9p\xC3\xB4t/SAMPLWT.dbf");
    ASSERT_EQ(weight.size(), 3u) << (weight.empty() ? "" : weight[0]);
    EXPECT_EQ(weight[1], kWeightLayout);
    // 698 litres over 14.6 m: 47.8 litres a metre.
    EXPECT_EQ(weight[2], "MILL_LET=str:M|MILL_NUM=str:123456|MILL_CODE=str:AB|POPULATION=str:1|"
                         "LOAD_NUM=str:123|LESSEE=str:LESS\xC3\x89"
                         "E CO|LAND_DISP=str:CTL|SUB_DISP=str:A1|"
                         "BLOCK_NUM=str:12|LOAD_DATE=date:2006-12-16|TOP_DIAM=int:16|"
                         "NETWEIGHT=int:25000|SOURCE=str:CREEK|LOGS=int:3|GROSS_M3_M=int:48");
}

// A volume row per group in use, a weight row per record; gross per metre
// rounds halves up and tolerates near halves. A second export replaces the
// first.
TEST_F(SampleTables, RowsFollowTheGroupsInUseAndGrossPerMetreRoundsHalvesUp) {
    CMaster m = ThreeGroupMaster();
    m.summary.NUM_GROUPS = 12;
    m.summary.groups.fill({"S  GR 01", 1, 1.0, 0.1, 0.0, 0.1, 0.0}); // 100 exactly
    AddRecord(*dataset, m.ToMasterRecord());
    AddOneGroupRecord(*dataset, 1, 9.6, 0.448);          // 46.67
    AddOneGroupRecord(*dataset, 2, 16.0, 0.4);           // 25 exactly
    AddOneGroupRecord(*dataset, 3, 1.0, 0.0245);         // 24.5
    AddOneGroupRecord(*dataset, 4, 12 * 0.1, 3 * 0.001); // 2.4999999999999996
    AddOneGroupRecord(*dataset, 5, 0.0, 0.0);            // no length
    ASSERT_TRUE(WriteSampleTables(Directory(), table, kWritten));
    EXPECT_EQ(Dump("SAMPLVOL.dbf").size(), 2u + 12u + 5u);
    const std::vector<std::string> weight = Dump("SAMPLWT.dbf");
    ASSERT_EQ(weight.size(), 2u + 6u);
    const char* expected[] = {"100", "47", "25", "25", "3", "0"};
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_TRUE(weight[i + 2].ends_with(std::string("|GROSS_M3_M=int:") + expected[i]))
            << weight[i + 2];
    EXPECT_EQ(dataset->recNo(), 6); // the master table is left on its last record
    dataset->first();
    dataset->remove();
    ASSERT_TRUE(WriteSampleTables(Directory(), table, kWritten));
    EXPECT_EQ(Dump("SAMPLVOL.dbf").size(), 2u + 5u);
    EXPECT_EQ(Dump("SAMPLWT.dbf").size(), 2u + 5u);
}

TEST_F(SampleTables, RawHeaderAndRecordBytesAndEmptyTables) {
    AddOneGroupRecord(*dataset, 7, 1.0, 0.1);
    ASSERT_TRUE(WriteSampleTables(Directory(), table, kWritten));
    const std::string vol = ReadBytes(dir / "SAMPLVOL.dbf");
    const uint32_t headerLength = 32 + 32 * 9 + 1;
    const uint32_t recordLength = 1 + 6 + 3 + 6 + 10 + 4 + 8 + 20 + 8 + 7;
    ASSERT_EQ(vol.size(), headerLength + recordLength + 1);
    EXPECT_EQ(vol.substr(0, 4), "\x03\x7E\x0C\x09"); // dBASE III, written 2026-12-09
    EXPECT_EQ(Le(vol, 4, 4), 1u);
    EXPECT_EQ(Le(vol, 8, 2), headerLength);
    EXPECT_EQ(Le(vol, 10, 2), recordLength);
    EXPECT_EQ(vol[29], '\x57');
    EXPECT_EQ(vol[headerLength - 1], '\x0D');
    EXPECT_EQ(vol.back(), '\x1A');
    // The first descriptor: the name NUL-padded to eleven bytes, C, width 6.
    EXPECT_EQ(vol.substr(32, 12), std::string("MILL_NUM\0\0\0C", 12));
    EXPECT_EQ(vol[32 + 16], '\x06');
    // Deletion flag, left-aligned text, blank date, right-aligned number.
    EXPECT_EQ(vol.substr(headerLength, recordLength),
              " 42    2  7     " + std::string(10 + 4, ' ') + std::string(8, ' ') +
                  std::string(20, ' ') + "P GR01  " + "    100");

    const std::string wt = ReadBytes(dir / "SAMPLWT.dbf");
    EXPECT_EQ(Le(wt, 8, 2), 32u + 32u * 15u + 1u);
    EXPECT_EQ(Le(wt, 10, 2), 1u + 1 + 6 + 2 + 3 + 6 + 20 + 10 + 4 + 4 + 8 + 2 + 6 + 20 + 5 + 4);

    // Empty tables, stamped with the day of writing, go into a folder named
    // in Windows-1252 as the user chose it.
    std::filesystem::create_directory(dir / "D\xC3\xA9p\xC3\xB4t");
    CreateSampleTables(Directory() + "D\xE9p\xF4t/", kWritten);
    for (const char* table : {"SAMPLVOL.dbf", "SAMPLWT.dbf"}) {
        const std::string name = std::string("D\xC3\xA9p\xC3\xB4t/") + table;
        ASSERT_EQ(Dump(name.c_str()).size(), 2u) << name;
        EXPECT_EQ(ReadBytes(dir / name).substr(1, 7), std::string("\x7E\x0C\x09\0\0\0\0", 7));
    }
    EXPECT_EQ(Dump("D\xC3\xA9p\xC3\xB4t/SAMPLWT.dbf")[1], kWeightLayout);
}

TEST_F(SampleTables, ANetVolumeTooWideForItsFieldIsRefused) {
    AddOneGroupRecord(*dataset, 1, 1.0, 10000.0); // ten million litres
    WriteBytes(dir / "SAMPLVOL.dbf", "old volume table");
    EXPECT_THAT(
        [&] { WriteSampleTables(Directory(), table, kWritten); },
        ThrowsMessage<BrimloError>(AllOf(HasSubstr("NET_SCALE"), HasSubstr("SAMPLVOL.dbf"))));
    EXPECT_EQ(ReadBytes(dir / "SAMPLVOL.dbf"), "old volume table");
}
