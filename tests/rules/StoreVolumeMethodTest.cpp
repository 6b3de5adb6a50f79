#include "common/MemoryTableStore.h"
#include "rules/Cglobals.h"
#include "support/Dataset.h"

#include <gtest/gtest.h>

namespace brimlo {
namespace {

// The letter of the method name goes into the field, nothing for a name
// not known. Only a new letter starts an edit (an inserted record stays
// inserting); nothing is posted, so a cancel brings the old letter back.
TEST(StoreVolumeMethod, StoresTheLetterEditingOnlyForANewOne) {
    using enum DatasetState;
    for (auto [before, inserting, name, state, stored] :
         {std::tuple{"S", false, "Smalian's Formula", Browse, "S"},
          {"S", false, "Alberta Cubic Metre", Edit, "A"},
          {"A", false, "Smalian's formula", Edit, ""},
          {"A", true, "Smalian's Formula", Insert, "S"}}) {
        SCOPED_TRACE(name);
        // a header table of one record holding the letter before
        Dataset header(std::make_unique<testing::MemoryTableStore>(
            FieldList{{"VOL_CALC_METH", FieldType::Alpha, 1}}));
        header.insert();
        header.setField("VOL_CALC_METH", Value(before));
        header.post();
        if (inserting)
            header.insert();
        int changes = 0;
        header.addListener(
            [&](DataEvent event, int) { changes += event == DataEvent::FieldChange; });
        StoreVolumeMethod(header, "VOL_CALC_METH", name);
        EXPECT_EQ(header.state(), state);
        EXPECT_EQ(header.field("VOL_CALC_METH").asString(), stored);
        EXPECT_EQ(changes > 0, state != Browse);
        header.cancel();
        EXPECT_EQ(header.field("VOL_CALC_METH").asString(), inserting ? "A" : before);
    }
}

} // namespace
} // namespace brimlo
