#include "common/TempDir.h"
#include "rules/Cglobals.h"
#include "support/Dataset.h"
#include "support/SqliteStore.h"

#include <gtest/gtest.h>

namespace brimlo {
namespace {

// A one-record header table holding the method letter given.
struct HeaderTable {
    testing::TempDir dir;
    std::unique_ptr<Dataset> table;

    explicit HeaderTable(const std::string& letter) {
        const FieldList fields = {{"LOADNUM", FieldType::Alpha, 6},
                                  {"VOL_CALC_METH", FieldType::Alpha, 1}};
        table =
            std::make_unique<Dataset>(SqliteStore::create((dir / "Header1.db").string(), fields));
        table->insert();
        table->setField("LOADNUM", Value("L1"));
        table->setField("VOL_CALC_METH", Value(letter));
        table->post();
    }
    std::string stored() { return table->field("VOL_CALC_METH").asString(); }
};

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
        HeaderTable header(before);
        if (inserting)
            header.table->insert();
        int changes = 0;
        header.table->addListener(
            [&](DataEvent event, int) { changes += event == DataEvent::FieldChange; });
        StoreVolumeMethod(*header.table, "VOL_CALC_METH", name);
        EXPECT_EQ(header.table->state(), state);
        EXPECT_EQ(header.stored(), stored);
        EXPECT_EQ(changes > 0, state != Browse);
        header.table->cancel();
        EXPECT_EQ(header.stored(), inserting ? "A" : before) << "after the cancel";
    }
}

} // namespace
} // namespace brimlo
