#include "common/ErrorText.h"
#include "common/TempDir.h"
#include "support/BrimloError.h"
#include "support/SqliteStore.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace brimlo {
namespace {

namespace fs = std::filesystem;

FieldList OneTextField() {
    return {FieldDef{"NAME", FieldType::Alpha, 10}};
}

Record Named(const char* name) {
    return Record{Value(name)};
}

// Posts to a table whose file is gone from its folder would land in a file
// nobody finds again; each kind of write is refused with the table's name.
TEST(SqliteStoreMovedFile, WritesToARemovedOrRenamedTableAreRefused) {
    for (const bool rename : {false, true}) {
        SCOPED_TRACE(rename ? "renamed" : "removed");
        testing::TempDir dir;
        const std::string path = (dir.path() / "Log1.db").string();
        auto store = SqliteStore::create(path, OneTextField());
        const RowId kept = store->insert(Named("KEPT"));
        if (rename)
            fs::rename(path, dir.path() / "Elsewhere.db");
        else
            fs::remove(path);
        const std::string refusal =
            "Cannot write table '" + path + "': the file has been removed or moved";
        EXPECT_EQ(testing::ErrorText([&] { store->insert(Named("LOST")); }), refusal);
        EXPECT_EQ(testing::ErrorText([&] { store->update(kept, Named("CHANGED")); }), refusal);
        EXPECT_EQ(testing::ErrorText([&] { store->remove(kept); }), refusal);
        EXPECT_EQ(testing::ErrorText([&] { store->beginBulk(); }), refusal);
        // what was written before is still there to be read
        const auto rows = store->readAll();
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].values[0].asString(), "KEPT");
    }
}

TEST(SqliteStoreMovedFile, ATableInItsPlaceTakesWritesAfterASiblingGoes) {
    testing::TempDir dir;
    const std::string path = (dir.path() / "Log1.db").string();
    auto store = SqliteStore::create(path, OneTextField());
    auto other = SqliteStore::create((dir.path() / "Log2.db").string(), OneTextField());
    fs::remove(dir.path() / "Log2.db");
    store->insert(Named("ONE"));
    store->beginBulk();
    store->insert(Named("TWO"));
    store->endBulk();
    EXPECT_EQ(SqliteStore::open(path)->readAll().size(), 2u);
}

} // namespace
} // namespace brimlo
