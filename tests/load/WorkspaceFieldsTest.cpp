#include "common/TempDir.h"
#include "load/LoadLayouts.h"
#include "load/LoadWorkspace.h"
#include "load/WorkspaceRecords.h"

#include <gtest/gtest.h>

namespace brimlo::testing {
namespace {

using T = FieldType;

// A column of a workspace table and the value it holds for the records
// written below.
struct Column {
    const char* name;
    FieldType type;
    int size;
    Value stored;
};

const std::vector<Column> kHeaderColumns = {
    {"LESSEE", T::Alpha, 20, "Lessee"},
    {"MILL_NAME", T::Alpha, 20, "Mill"},
    {"DISP", T::Alpha, 10, "D1"},
    {"SUBDISP", T::Alpha, 4, "S1"},
    {"MILL_NUM", T::Long, 0, 1234567},
    {"BLOCK_NUM", T::Alpha, 4, "B7"},
    {"LOAD_NUM", T::Long, 0, 54321},
    {"POP", T::Short, 0, 12},
    {"HTOPD", T::Short, 0, 9},
    {"NETWEIGHT", T::Number, 0, 25000.0},
    {"TM9", T::Alpha, 10, "TM9-1"},
    {"HSPECIES", T::Alpha, 2, "S"},
    {"HCONDCODE", T::Alpha, 2, "GR"},
    {"HPRODCODE", T::Alpha, 2, "01"},
    {"SOURCE", T::Alpha, 20, "Source"},
    {"MILL_CODE", T::Alpha, 2, "MC"},
    {"LOAD_ID", T::Short, 0, 33},
    {"TREES", T::Short, 0, 44},
    {"SAWLOGS", T::Alpha, 1, "Y"},
    {"DATEWEIGHED", T::Date, 0, Date::fromYmd(2024, 5, 6)},
    {"VOL_CALC_METH", T::Alpha, 1, "A"},
    {"SCALER_NAME", T::Alpha, 20, "Scaler"},
    {"SCALER_PERMIT", T::Alpha, 6, "P123"},
    {"TRIM_ALLOWANCE", T::Logical, 0, Value()},
};

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
        EXPECT_EQ(descriptors[i].type, expected[i].type);
        EXPECT_EQ(descriptors[i].size, expected[i].size);
        EXPECT_EQ(table[i], (FieldDef{expected[i].name, expected[i].type, expected[i].size}));
    }
}

void ExpectStored(const Dataset& table, const std::vector<Column>& expected) {
    for (const Column& c : expected)
        EXPECT_EQ(table.field(c.name), c.stored) << c.name;
}

class WorkspaceFieldsTest : public ::testing::Test {
protected:
    TempDir dir;
    std::unique_ptr<LoadWorkspace> ws = LoadWorkspace::Named(dir.path().string() + "/", 1);
};

TEST_F(WorkspaceFieldsTest, DescriptorsDeclareTheTablesLayout) {
    ws->create();
    ExpectLayout(kHeaderFields, ws->header().fields(), kHeaderColumns);
    ExpectLayout(kLogFields, ws->log().fields(), kLogColumns);
}

TEST_F(WorkspaceFieldsTest, RecordsTravelToTheirColumnsAndBack) {
    const HeaderRecord header{
        "Lessee", "Mill",   "D1",  "S1", 1234567,  "B7", 54321, 12, 9,   25000.0,
        "TM9-1",  "S",      "GR",  "01", "Source", "MC", 33,    44, "Y", Date::fromYmd(2024, 5, 6),
        "A",      "Scaler", "P123"};
    LogRecord log{99,  "F",   "DR", "06", 11,  52, 13, 14,  15, "4",
                  "3", 321.0, 45.0, 27,   "B", 8,  29, "Y", 530};
    // A second log whose optional numbers hold no value.
    LogRecord bare = log;
    bare.hasLoadId = bare.hasDbh = bare.hasActLength = false;
    bare.LOAD_ID = bare.DBH = bare.ACT_LENGTH = 0;

    ws->create();
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
