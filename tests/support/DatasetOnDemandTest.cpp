#include "ParadoxReference.h"
#include "common/TempDir.h"
#include "support/Dataset.h"
#include "support/ParadoxStore.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace brimlo {
namespace {

// The records of a master.db, held by a store that reads them all at once:
// what a dataset reading on demand must answer like.
class WholeStore : public TableStore {
public:
    explicit WholeStore(const std::string& path) : table_(ParadoxStore::open(path)) {}
    const FieldList& fields() const override { return table_->fields(); }
    std::vector<StoredRow> readAll() override { return table_->readAll(); }
    RowId insert(const Record& values) override { return table_->insert(values); }
    void update(RowId id, const Record& values) override { table_->update(id, values); }
    void remove(RowId id) override { table_->remove(id); }
    void beginBulk() override {}
    void endBulk() override {}
    void pack() override { table_->pack(); }

private:
    std::unique_ptr<ParadoxStore> table_;
};

using Step = std::function<void(Dataset&)>;

void Post(Dataset& ds, int key, int seed) {
    const Record values = testing::MasterRecordFor(key, seed);
    for (size_t f = 0; f < values.size(); ++f)
        ds.setField(static_cast<int>(f), values[f]);
    ds.post();
}

// The load number (field 9) of a test master record is its key.
std::vector<FieldMatch> KeyOf(Dataset& ds, int key) {
    return {{ds.fields()[9].name, Value(int32_t{key})}};
}

// The same steps on a dataset reading on demand and on one holding every
// record: after each, the two show the same record, count and positions.
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
        {"locate after replace", [](Dataset& ds) { EXPECT_TRUE(ds.locate(KeyOf(ds, 3))); }},
        {"append", [](Dataset& ds) { ds.insert(), Post(ds, 40, 1); }},
        {"locate appended", [](Dataset& ds) { EXPECT_TRUE(ds.locate(KeyOf(ds, 40))); }},
        {"prior", [](Dataset& ds) { ds.prior(); }},
        {"remove", [](Dataset& ds) { ds.remove(); }},
        {"filter", [](Dataset& ds) { ds.setFilter(KeyOf(ds, 12)), ds.setFiltered(true); }},
        {"unfilter", [](Dataset& ds) { ds.setFiltered(false); }},
        {"locate missing", [](Dataset& ds) { EXPECT_FALSE(ds.locate(KeyOf(ds, 77))); }},
    };
    testing::TempDir dir;
    const std::string onDemandPath = dir / "master.db";
    const std::string wholePath = dir / "whole.db";
    for (const std::string& path : {onDemandPath, wholePath}) {
        auto table = ParadoxTable::create(path, testing::MasterLayoutForTests());
        for (int k = 1; k <= 30; ++k)
            table->insert(testing::MasterRecordFor(k, k));
    }
    Dataset onDemand(ParadoxStore::open(onDemandPath));
    Dataset whole(std::make_unique<WholeStore>(wholePath));
    for (const Case& c : cases) {
        c.step(onDemand);
        c.step(whole);
        EXPECT_EQ(onDemand.record(), whole.record()) << c.name;
        EXPECT_EQ(onDemand.recNo(), whole.recNo()) << c.name;
        EXPECT_EQ(onDemand.recordCount(), whole.recordCount()) << c.name;
        for (int p : {0, 5, whole.recordCount() - 1}) {
            EXPECT_EQ(onDemand.recordAt(p), whole.recordAt(p)) << c.name << " at " << p;
            EXPECT_EQ(onDemand.fieldAt(p, 9), whole.fieldAt(p, 9)) << c.name << " at " << p;
        }
    }
    onDemand.close();
    whole.close();
    EXPECT_EQ(ParadoxTable::open(onDemandPath)->readAll().size(), 30u);
}

} // namespace
} // namespace brimlo
