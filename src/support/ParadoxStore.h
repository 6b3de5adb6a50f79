#pragma once

#include "support/ParadoxTable.h"
#include "support/TableStore.h"

#include <memory>
#include <string>
#include <unordered_map>

namespace brimlo {

// The store of a table exchanged with other programs (master.db): a Paradox
// table file written by ParadoxTable.
class ParadoxStore : public TableStore {
public:
    explicit ParadoxStore(std::unique_ptr<ParadoxTable> table);
    static std::unique_ptr<ParadoxStore> open(const std::string& path);
    // Creates an empty table, replacing any file of that name.
    static std::unique_ptr<ParadoxStore> create(const std::string& path, const FieldList& fields);
    // Opens the table, creating it empty first when there is no such file.
    static std::unique_ptr<ParadoxStore> openOrCreate(const std::string& path,
                                                      const FieldList& fields);

    ParadoxTable& table() { return *table_; }

    const FieldList& fields() const override;
    std::vector<StoredRow> readAll() override;
    RowId insert(const Record& values) override;
    void update(RowId id, const Record& values) override;
    void remove(RowId id) override;
    void beginBulk() override;
    void endBulk() override;
    void pack() override;
    bool shared() const override { return true; }
    uint64_t generation() const override { return table_->generation(); }
    void refresh() override {
        dropAhead();
        table_->refresh();
    }
    bool readsOnDemand() const override { return true; }
    std::vector<RowId> readIds() override;
    Record read(RowId id) override;
    std::vector<std::vector<Value>> readColumns(const std::vector<int>& fields) override;

private:
    void dropAhead();

    std::unique_ptr<ParadoxTable> table_;
    // Records read ahead in table order: a reader going through the table
    // (an export, a report) takes the lock and reads blocks once a run
    // rather than once a record. Dropped at every change and refresh.
    std::unordered_map<RowId, Record> ahead_;
    uint64_t aheadGeneration_ = 0;
    RowId aheadLast_ = 0; // the last record read ahead
    RowId lastRead_ = 0;  // the record read last
};

} // namespace brimlo
