#if __has_include(<paradox.h>)

#include "common/TempDir.h"
#include "master/CMaster.h"
#include "master/MasterFields.h"
#include "master/MasterTable.h"
#include "master/MasterTestSupport.h"
#include "support/Dataset.h"
#include "support/ParadoxStore.h"

#include <gtest/gtest.h>
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

    pxdoc_t* doc = PX_new();
    ASSERT_EQ(PX_open_file(doc, path.c_str()), 0);
    ASSERT_EQ(PX_get_num_fields(doc), 105);
    ASSERT_EQ(PX_get_num_records(doc), 2);
    const pxfield_t* f = PX_get_fields(doc);
    EXPECT_STREQ(f[0].px_fname, "MILLCODE");
    EXPECT_EQ(f[0].px_ftype, pxfAlpha);
    EXPECT_EQ(f[0].px_flen, 2);
    EXPECT_STREQ(f[12].px_fname, "NET_WEIGHT");
    EXPECT_EQ(f[12].px_ftype, pxfLong);
    EXPECT_STREQ(f[21].px_fname, "LENGTH1");
    EXPECT_EQ(f[21].px_ftype, pxfNumber);
    EXPECT_STREQ(f[103].px_fname, "NUM_GROUPS");
    EXPECT_EQ(f[103].px_ftype, pxfShort);

    pxval_t** first = PX_retrieve_record(doc, 0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(std::string(first[0]->value.str.val, 2), "AB");
    EXPECT_EQ(first[9]->value.lval, 123);
    EXPECT_EQ(first[12]->value.lval, 27000);
    EXPECT_DOUBLE_EQ(first[22]->value.dval, 0.448);
    EXPECT_EQ(first[103]->value.lval, 3);
    EXPECT_TRUE(first[19 + 7 * 3]->isnull); // SPCDPR4 empty
    for (int i = 0; i < 105; ++i) {
        if (!first[i]->isnull && first[i]->type == pxfAlpha)
            doc->free(doc, first[i]->value.str.val);
        doc->free(doc, first[i]);
    }
    doc->free(doc, first);
    PX_close(doc);
    PX_delete(doc);

    Dataset dataset(ParadoxStore::open(path));
    MasterTable table(dataset);
    CMaster read;
    ASSERT_TRUE(read.LoadFromMaster(table, ""));
    EXPECT_EQ(read.ToMasterRecord(), PostedLoad(123, 27000).ToMasterRecord());
    EXPECT_EQ(read.summary, PostedLoad(123, 27000).summary);
}

#endif
