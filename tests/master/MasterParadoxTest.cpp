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

// What another program reading master.db sees, through pxlib.
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

    EXPECT_EQ(PxRead(path).records, (std::vector<Record>{PostedLoad(123, 27000).ToMasterRecord(),
                                                         PostedLoad(124, 26000).ToMasterRecord()}));
}

#endif
