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

void ExpectSame(Dataset& ds, const Model& model) {
    ASSERT_EQ(ds.recordCount(), static_cast<int>(model.size()));
    auto it = model.begin();
    int position = 1;
    for (ds.first(); !ds.eof(); ds.next(), ++it, ++position) {
        ASSERT_NE(it, model.end());
        EXPECT_EQ(ds.recNo(), position);
        EXPECT_EQ(ds.field("LOGNUM").asInt(), it->first);
        EXPECT_EQ(ds.field("SPECIES").asString(), it->second.first);
        EXPECT_EQ(ds.field("TOPD").asInt(), it->second.second);
    }
    EXPECT_EQ(it, model.end());
}

class RandomEdits {
public:
    RandomEdits(Dataset& ds, unsigned seed) : ds_(ds), rng_(seed) {}

    void step() {
        switch (pick(5)) {
        case 0:
        case 1:
            insert();
            break;
        case 2:
            editCurrent();
            break;
        case 3:
            removeCurrent();
            break;
        default:
            move();
        }
    }

    Model model;

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    std::string species() { return std::string(1, static_cast<char>('A' + pick(3))) + "x"; }

    void insert() {
        const int key = pick(60);
        const std::string sp = species();
        const int topd = pick(100);
        ds_.insert();
        ds_.setField("LOGNUM", key);
        ds_.setField("SPECIES", sp);
        ds_.setField("TOPD", topd);
        if (pick(6) == 0) {
            ds_.cancel();
            return;
        }
        post(key, sp, topd, -1);
    }

    void editCurrent() {
        if (ds_.isEmpty())
            return;
        const int old = ds_.field("LOGNUM").asInt();
        const int key = pick(3) == 0 ? pick(60) : old;
        const std::string sp = species();
        const int topd = ds_.field("TOPD").asInt();
        ds_.edit();
        ds_.setField("LOGNUM", key);
        ds_.setField("SPECIES", sp);
        post(key, sp, topd, old);
    }

    void post(int key, const std::string& sp, int topd, int old) {
        const bool clash = model.count(key) && key != old;
        try {
            ds_.post();
        } catch (const BrimloError&) {
            EXPECT_TRUE(clash) << "refused key " << key;
            EXPECT_TRUE(ds_.isEditing());
            ds_.cancel();
            return;
        }
        ASSERT_FALSE(clash) << "duplicate key " << key << " posted";
        if (old >= 0)
            model.erase(old);
        model[key] = {sp, topd};
        EXPECT_EQ(ds_.field("LOGNUM").asInt(), key) << "the posted record stays current";
    }

    void removeCurrent() {
        if (ds_.isEmpty())
            return;
        model.erase(ds_.field("LOGNUM").asInt());
        ds_.remove();
    }

    void move() {
        switch (pick(4)) {
        case 0:
            ds_.first();
            break;
        case 1:
            ds_.last();
            break;
        case 2:
            ds_.next();
            break;
        default:
            ds_.prior();
        }
    }

    Dataset& ds_;
    std::mt19937 rng_;
};

TEST(DatasetModelTest, RandomEditsKeepUniqueKeyOrderOnDiskAndInMemory) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        testing::TempDir dir;
        const std::string path = dir / "Log1.db";
        Model model;
        {
            auto store = SqliteStore::create(path, ModelFields());
            store->setFlushToDisk(false);
            Dataset ds(std::move(store), "LOGNUM");
            RandomEdits edits(ds, seed);
            for (int i = 0; i < 300; ++i)
                edits.step();
            ExpectSame(ds, edits.model);
            model = edits.model;
        }
        Dataset reopened(SqliteStore::open(path), "LOGNUM");
        ExpectSame(reopened, model);
    }
}

} // namespace
} // namespace brimlo
