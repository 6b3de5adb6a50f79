#include "ParadoxReference.h"
#include "common/MemoryTableStore.h"
#include "common/TempDir.h"
#include "support/Dataset.h"
#include "support/ParadoxStore.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace brimlo {
namespace {

using Step = std::function<void(Dataset&)>;

void Post(Dataset& ds, int key, int seed) {
    testing::SetFields(ds, testing::MasterRecordFor(key, seed));
    ds.post();
}

// The load number (field 9) of a test master record is its key.
std::vector<FieldMatch> KeyOf(Dataset& ds, int key) {
    return {{ds.fields()[9].name, Value(int32_t{key})}};
}

// The same steps on a dataset reading master.db on demand and on one holding
// every record in memory: after each, the two show the same record, count
// and positions, and the file holds the same records at the end.
TEST(DatasetOnDemandTest, AnswersAsADatasetHoldingEveryRecord) {
    struct Case {
        const char* name;
        Step step;
    };
    const std::vector<Case> cases = {
        {"opened", [](Dataset&) {}},
        {"first", [](Dataset& ds) { ds.first(); }},
        {"next", [](Dataset& ds) { ds.next(); }},
        {"last", [](Dataset& ds) { ds.last(); }},
        {"locate", [](Dataset& ds) { EXPECT_TRUE(ds.locate(KeyOf(ds, 7))); }},
        {"replace", [](Dataset& ds) { ds.edit(), Post(ds, 7, 99); }},
        {"nested bulk",
         [](Dataset& ds) {
             ds.beginBulk(), ds.beginBulk(), ds.insert(), Post(ds, 41, 2), ds.endBulk();
             EXPECT_TRUE(ds.locate(KeyOf(ds, 7)));
             ds.edit(), Post(ds, 7, 98), ds.endBulk();
         }},
        {"locate after replace", [](Dataset& ds) { EXPECT_TRUE(ds.locate(KeyOf(ds, 3))); }},
        {"append", [](Dataset& ds) { ds.insert(), Post(ds, 40, 1); }},
        {"locate appended", [](Dataset& ds) { EXPECT_TRUE(ds.locate(KeyOf(ds, 40))); }},
        {"prior", [](Dataset& ds) { ds.prior(); }},
        {"remove", [](Dataset& ds) { ds.remove(); }},
        {"filter", [](Dataset& ds) { ds.setFilter(KeyOf(ds, 12)), ds.setFiltered(true); }},
        {"unfilter", [](Dataset& ds) { ds.setFiltered(false); }},
        {"locate missing", [](Dataset& ds) { EXPECT_FALSE(ds.locate(KeyOf(ds, 77))); }},
        {"pack", [](Dataset& ds) { ds.pack(); }},
    };
    testing::TempDir dir;
    const std::string path = dir / "master.db";
    const FieldList layout = testing::MasterLayoutForTests();
    auto table = ParadoxStore::openOrCreate(path, layout);
    auto memory = std::make_unique<testing::MemoryTableStore>(layout);
    for (int k = 1; k <= 30; ++k) {
        table->insert(testing::MasterRecordFor(k, k));
        memory->insert(testing::MasterRecordFor(k, k));
    }
    table.reset();
    testing::MemoryTableStore& held = *memory;
    Dataset onDemand(ParadoxStore::openOrCreate(path, layout));
    Dataset whole(std::move(memory));
    for (const Case& c : cases) {
        c.step(onDemand);
        c.step(whole);
        EXPECT_EQ(onDemand.record(), whole.record()) << c.name;
        EXPECT_EQ(onDemand.recNo(), whole.recNo()) << c.name;
        EXPECT_EQ(onDemand.recordCount(), whole.recordCount()) << c.name;
        for (int p : {0, 5, 6, whole.recordCount() - 1}) {
            EXPECT_EQ(onDemand.recordAt(p), whole.recordAt(p)) << c.name << " at " << p;
            EXPECT_EQ(onDemand.fieldAt(p, 9), whole.fieldAt(p, 9)) << c.name << " at " << p;
        }
    }
    onDemand.close();
    EXPECT_EQ(held.rows.size(), 31u);
    EXPECT_EQ(testing::RecordsOf(ParadoxTable::open(path)->readAll()),
              testing::RecordsOf(held.readAll()));
}

} // namespace
} // namespace brimlo
