#if __has_include(<paradox.h>)

#include "common/TempDir.h"
#include "master/CMaster.h"
#include "master/MasterFields.h"
#include "master/MasterTable.h"
#include "master/MasterTestSupport.h"
#include "support/Dataset.h"
#include "support/ParadoxReference.h"
#include "support/ParadoxStore.h"

#include <gtest/gtest.h>
#include <tuple>
extern "C" {
#include <paradox.h>
}

using namespace brimlo;
using namespace brimlo::testing;

namespace {

CMaster PostedLoad(int32_t loadNum, int32_t weight) {
    CMaster m = ThreeGroupMaster();
    m.LOAD_NUM = loadNum;
    m.NET_WEIGHT = weight;
    return m;
}

} // namespace

// What another program reading master.db sees, through pxlib, and what the
// reopened table gives back.
TEST(MasterParadox, PostedRecordsAreReadableAsPublishedParadoxAndReopened) {
    TempDir dir;
    const std::string path = (dir / "master.db").string();
    {
        Dataset dataset(ParadoxStore::create(path, MasterFieldList()));
        MasterTable table(dataset);
        PostedLoad(123, 25000).PostToMaster(table);
        PostedLoad(124, 26000).PostToMaster(table);
        PostedLoad(123, 27000).PostToMaster(table); // replaces the first
    }

    const PxContents px = PxRead(path);
    ASSERT_EQ(px.fields.size(), 105u);
    const std::tuple<int, const char*, int, int> fields[] = {{0, "MILLCODE", pxfAlpha, 2},
                                                             {12, "NET_WEIGHT", pxfLong, 4},
                                                             {21, "LENGTH1", pxfNumber, 8},
                                                             {103, "NUM_GROUPS", pxfShort, 2}};
    for (const auto& [i, name, type, width] : fields)
        EXPECT_EQ(std::tie(px.fields[i].name, px.fields[i].code, px.fields[i].width),
                  std::make_tuple(std::string(name), type, width));
    ASSERT_EQ(px.records.size(), 2u);
    const Record& first = px.records[0];
    EXPECT_EQ(first[0], Value("AB"));
    EXPECT_EQ(first[9], Value(int32_t{123}));
    EXPECT_EQ(first[12], Value(int32_t{27000}));
    EXPECT_EQ(first[22], Value(0.448));
    EXPECT_EQ(first[103], Value(int32_t{3}));
    EXPECT_EQ(first[19 + 7 * 3], Value("")); // SPCDPR4 blank

    Dataset dataset(ParadoxStore::open(path));
    MasterTable table(dataset);
    CMaster read;
    ASSERT_TRUE(read.LoadFromMaster(table, ""));
    EXPECT_EQ(read.ToMasterRecord(), PostedLoad(123, 27000).ToMasterRecord());
    EXPECT_EQ(read.summary, PostedLoad(123, 27000).summary);
}

#endif
