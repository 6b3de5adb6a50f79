// Random edits of a keyed table checked against a plain ordered map, both
// in memory and after the table is opened again from its file.

#include "common/TempDir.h"
#include "support/BrimloError.h"
#include "support/Dataset.h"
#include "support/SqliteStore.h"

#include <gtest/gtest.h>
#include <map>
#include <random>
#include <string>

namespace brimlo {
namespace {

FieldList ModelFields() {
    return {
        {"LOGNUM", FieldType::Long}, {"SPECIES", FieldType::Alpha, 2}, {"TOPD", FieldType::Short}};
}

using Model = std::map<int, std::pair<std::string, int>>;

// The walk shows the model's records in key order, each at its position.
void ExpectSame(Dataset& ds, const Model& model) {
    EXPECT_EQ(ds.recordCount(), static_cast<int>(model.size()));
    Model seen;
    for (ds.first(); !ds.eof(); ds.next()) {
        const int key = ds.field("LOGNUM").asInt();
        EXPECT_TRUE(seen.empty() || key > seen.rbegin()->first) << key << " out of key order";
        seen[key] = {ds.field("SPECIES").asString(), ds.field("TOPD").asInt()};
        EXPECT_EQ(ds.recNo(), static_cast<int>(seen.size()));
    }
    EXPECT_EQ(seen, model);
}

// One random step: an insert (now and then cancelled), an edit of the
// current record (now and then of its key), a removal or a move. A post is
// refused exactly when its key is another record's.
void RandomStep(Dataset& ds, Model& model, std::mt19937& rng) {
    const auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    const int op = pick(5);
    if (op == 4) {
        const int move = pick(4);
        move == 0 ? ds.first() : move == 1 ? ds.last() : move == 2 ? ds.next() : ds.prior();
        return;
    }
    if (op >= 2 && ds.isEmpty())
        return;
    if (op == 3) {
        model.erase(ds.field("LOGNUM").asInt());
        ds.remove();
        return;
    }
    const bool insert = op < 2;
    const int old = insert ? -1 : ds.field("LOGNUM").asInt();
    const int key = insert || pick(3) == 0 ? pick(60) : old;
    const std::string species = std::string(1, static_cast<char>('A' + pick(3))) + "x";
    const int topd = insert ? pick(100) : ds.field("TOPD").asInt();
    insert ? ds.insert() : ds.edit();
    ds.setField("LOGNUM", key);
    ds.setField("SPECIES", species);
    if (insert)
        ds.setField("TOPD", topd);
    if (insert && pick(6) == 0)
        return ds.cancel();
    const bool clash = model.count(key) && key != old;
    try {
        ds.post();
    } catch (const BrimloError&) {
        EXPECT_TRUE(clash) << "refused key " << key;
        EXPECT_TRUE(ds.isEditing());
        return ds.cancel();
    }
    ASSERT_FALSE(clash) << "duplicate key " << key << " posted";
    model.erase(old);
    model[key] = {species, topd};
    EXPECT_EQ(ds.field("LOGNUM").asInt(), key) << "the posted record stays current";
}

TEST(DatasetModelTest, RandomEditsKeepUniqueKeyOrderOnDiskAndInMemory) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        testing::TempDir dir;
        const std::string path = dir / "Log1.db";
        Model model;
        {
            auto store = SqliteStore::create(path, ModelFields());
            store->setFlushToDisk(false);
            Dataset ds(std::move(store), "LOGNUM");
            std::mt19937 rng(seed);
            for (int i = 0; i < 300; ++i)
                RandomStep(ds, model, rng);
            ExpectSame(ds, model);
        }
        Dataset reopened(SqliteStore::open(path), "LOGNUM");
        ExpectSame(reopened, model);
    }
}

} // namespace
} // namespace brimlo
