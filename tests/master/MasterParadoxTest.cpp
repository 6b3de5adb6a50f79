#if __has_include(<paradox.h>)

#include "common/TempDir.h"
#include "master/CMaster.h"
#include "master/MasterFields.h"
#include "master/MasterTable.h"
#include "support/Dataset.h"
#include "support/ParadoxStore.h"

#include <cstdlib>
#include <gtest/gtest.h>
extern "C" {
#include <paradox.h>
}

using namespace brimlo;
using namespace brimlo::testing;

namespace {

CMaster PostedLoad(int32_t loadNum, int32_t weight) {
    CMaster m;
    m.MILLCODE = "AB";
    m.POP = 1;
    m.MILL_NUM = 123456;
    m.SAWLOGS = 'N';
    m.LESSEE = "LESSEE CO";
    m.DISP = "CTL";
    m.LOAD_NUM = loadNum;
    m.TOP_D = 16;
    m.WEIGH_DATE = Date::fromYmd(2006, 12, 16);
    m.NET_WEIGHT = weight;
    m.TREES = 5;
    m.summary.NUM_GROUPS = 2;
    m.summary.TOTALLOGS = 3;
    m.summary.groups[0] = {"S  GR 01", 2, 9.6, 0.448, 0.02, 0.428, 4.4642857142857144};
    m.summary.groups[1] = {"SP D 01", 1, 5.0, 0.25, 0.0, 0.25, 0.0};
    return m;
}

// What another program reading master.db sees, through pxlib.
struct PxTable {
    pxdoc_t* doc = PX_new();
    explicit PxTable(const std::string& path) { opened = PX_open_file(doc, path.c_str()) == 0; }
    ~PxTable() {
        if (opened)
            PX_close(doc);
        PX_delete(doc);
    }
    bool opened = false;
};

} // namespace

TEST(MasterParadox, PostedRecordsAreReadableAsPublishedParadox) {
    TempDir dir;
    const std::string path = (dir / "master.db").string();
    {
        Dataset dataset(ParadoxStore::create(path, MasterFieldList()));
        MasterTable table(dataset);
        PostedLoad(123, 25000).PostToMaster(table);
        PostedLoad(124, 26000).PostToMaster(table);
        PostedLoad(123, 27000).PostToMaster(table); // replaces the first
    }

    PxTable px(path);
    ASSERT_TRUE(px.opened);
    ASSERT_EQ(PX_get_num_fields(px.doc), 105);
    ASSERT_EQ(PX_get_num_records(px.doc), 2);
    const pxfield_t* f = PX_get_fields(px.doc);
    EXPECT_STREQ(f[0].px_fname, "MILLCODE");
    EXPECT_EQ(f[0].px_ftype, pxfAlpha);
    EXPECT_EQ(f[0].px_flen, 2);
    EXPECT_STREQ(f[12].px_fname, "NET_WEIGHT");
    EXPECT_EQ(f[12].px_ftype, pxfLong);
    EXPECT_STREQ(f[21].px_fname, "LENGTH1");
    EXPECT_EQ(f[21].px_ftype, pxfNumber);
    EXPECT_STREQ(f[103].px_fname, "NUM_GROUPS");
    EXPECT_EQ(f[103].px_ftype, pxfShort);

    pxval_t** first = PX_retrieve_record(px.doc, 0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(std::string(first[0]->value.str.val, 2), "AB");
    EXPECT_EQ(first[9]->value.lval, 123);
    EXPECT_EQ(first[12]->value.lval, 27000);
    EXPECT_DOUBLE_EQ(first[22]->value.dval, 0.448);
    EXPECT_EQ(first[103]->value.lval, 2);
    EXPECT_TRUE(first[19 + 7 * 2]->isnull); // SPCDPR3 empty
    for (int i = 0; i < 105; ++i) {
        if (!first[i]->isnull && first[i]->type == pxfAlpha)
            px.doc->free(px.doc, first[i]->value.str.val);
        px.doc->free(px.doc, first[i]);
    }
    px.doc->free(px.doc, first);
}

TEST(MasterParadox, ReopenedTableGivesTheMembersBack) {
    TempDir dir;
    const std::string path = (dir / "master.db").string();
    const CMaster posted = PostedLoad(123, 25000);
    {
        Dataset dataset(ParadoxStore::create(path, MasterFieldList()));
        MasterTable table(dataset);
        posted.PostToMaster(table);
    }
    Dataset dataset(ParadoxStore::open(path));
    MasterTable table(dataset);
    CMaster read;
    ASSERT_TRUE(read.LoadFromMaster(table, ""));
    EXPECT_EQ(read.ToMasterRecord(), posted.ToMasterRecord());
    EXPECT_EQ(read.summary, posted.summary);
}

#endif
