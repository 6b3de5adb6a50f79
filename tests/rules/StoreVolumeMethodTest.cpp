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

TEST(StoreVolumeMethod, TheLetterAlreadyThereLeavesTheTableBrowsing) {
    HeaderTable header("S");
    int changes = 0;
    header.table->addListener(
        [&](DataEvent event, int) { changes += event == DataEvent::FieldChange; });
    StoreVolumeMethod(*header.table, "VOL_CALC_METH", "Smalian's Formula");
    EXPECT_EQ(DatasetState::Browse, header.table->state());
    EXPECT_EQ(0, changes);
    EXPECT_EQ("S", header.stored());
}

TEST(StoreVolumeMethod, AnotherLetterStartsAnEditAndIsNotPosted) {
    HeaderTable header("S");
    StoreVolumeMethod(*header.table, "VOL_CALC_METH", "Alberta Cubic Metre");
    EXPECT_EQ(DatasetState::Edit, header.table->state());
    EXPECT_EQ("A", header.stored());
    header.table->cancel();
    EXPECT_EQ("S", header.stored());
}

TEST(StoreVolumeMethod, AnInsertedRecordStaysInserting) {
    HeaderTable header("A");
    header.table->insert();
    StoreVolumeMethod(*header.table, "VOL_CALC_METH", "Smalian's Formula");
    EXPECT_EQ(DatasetState::Insert, header.table->state());
    EXPECT_EQ("S", header.stored());
}

TEST(StoreVolumeMethod, AnUnknownNameStoresNoLetter) {
    HeaderTable header("A");
    StoreVolumeMethod(*header.table, "VOL_CALC_METH", "Smalian's formula");
    EXPECT_EQ("", header.stored());
}

} // namespace
} // namespace brimlo
