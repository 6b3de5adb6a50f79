#pragma once

#include "support/TableStore.h"

#include <cstddef>
#include <list>
#include <memory>
#include <utility>
#include <vector>

namespace brimlo {

class Dataset;
class PgMasterStore;

// The server's master as a table a dataset pages through (the maintenance
// window, the master reports), holding none of it: the ROW_IDs are read once
// (at opening and at refresh), records a page of neighbours at a time as
// they are shown, with the last few pages kept, and whole fields for a
// locate or a report's layout by one COPY. Records change on the server by
// posting only (PgMasterStore::post); here they can only be deleted.
class PgMasterTableStore : public TableStore {
public:
    static constexpr size_t kPageSize = 64;
    static constexpr size_t kPagesKept = 8;

    explicit PgMasterTableStore(std::unique_ptr<PgMasterStore> server);
    ~PgMasterTableStore() override;

    PgMasterStore& server() { return *server_; }

    const FieldList& fields() const override;
    std::vector<StoredRow> readAll() override;
    RowId insert(const Record& values) override;
    void update(RowId id, const Record& values) override;
    void remove(RowId id) override;
    void beginBulk() override {}
    void endBulk() override {}
    void pack() override {}

    bool readsOnDemand() const override { return true; }
    std::vector<RowId> readIds() override;
    Record read(RowId id) override;
    std::vector<std::vector<Value>> readColumns(const std::vector<int>& fields) override;
    // By the server's index, for a search on the key's three fields.
    std::optional<std::vector<RowId>>
    findIds(const std::vector<std::pair<int, Value>>& matches) override;

private:
    struct Page {
        size_t number;
        std::vector<std::pair<RowId, Record>> rows;
    };
    const Page& page(size_t number);

    std::unique_ptr<PgMasterStore> server_;
    std::vector<RowId> ids_; // ascending, as the dataset was given them
    std::list<Page> pages_;  // the page used last first
};

// A dataset over the server's master, for the maintenance window and the
// master reports.
std::unique_ptr<Dataset> OpenServerMasterDataset(std::unique_ptr<PgMasterStore> server);

} // namespace brimlo
