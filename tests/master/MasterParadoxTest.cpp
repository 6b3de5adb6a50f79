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

// What another program reading master.db sees, through pxlib.
TEST(MasterParadox, PostedRecordsAreReadableAsPublishedParadox) {
    TempDir dir;
    const std::string path = (dir / "master.db").string();
    {
        Dataset dataset(ParadoxStore::create(path, MasterFieldList()));
        MasterTable table(dataset);
        MasterLoad("AB", 123, 1, 25000).PostToMaster(table);
        MasterLoad("AB", 124, 1, 26000).PostToMaster(table);
        MasterLoad("AB", 123, 1, 27000).PostToMaster(table); // replaces the first
    }

    EXPECT_EQ(PxRead(path).records,
              (std::vector<Record>{MasterLoad("AB", 123, 1, 27000).ToMasterRecord(),
                                   MasterLoad("AB", 124, 1, 26000).ToMasterRecord()}));
}

#endif
