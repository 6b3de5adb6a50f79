#pragma once

#include "master/MasterStore.h"
#include "support/FieldDef.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brimlo {

class PgConnection;

// The master records in the "master" table of a PostgreSQL server
// (PgMasterSchema), shared by every scale house that posts to it. A post
// is one transaction: insert, or replace the record with the same key when
// that one was posted no later. Texts are Windows-1252 here and UTF-8 on
// the server. Readers get the records in ROW_ID order.
class PgMasterStore : public MasterStore {
public:
    // Connects and brings the tables up to date; throws PgUnreachable when
    // the server cannot be reached.
    explicit PgMasterStore(const std::string& conninfo);
    ~PgMasterStore() override;

    int count() override;
    std::vector<Record> readPage(int first, int count) override;
    void forEach(const std::function<void(const Record&)>& visit) override;
    std::optional<Record> find(const MasterKey& key) override;
    void post(const MasterPost& post) override;
    bool remove(const MasterKey& key) override;

    // Records by their place, for a reader that pages through the table
    // (PgMasterTableStore): every ROW_ID in order; the records with ROW_ID
    // first to last in order; the given fields (indexes into the master
    // fields) of every record up to ROW_ID last; removing one record.
    std::vector<int64_t> rowIds();
    std::vector<std::pair<int64_t, Record>> readRows(int64_t first, int64_t last);
    void forEachFields(const std::vector<int>& fields, int64_t last,
                       const std::function<void(int64_t id, const Record& values)>& visit);
    bool removeRow(int64_t id);
    // The ROW_ID of the record with this key (none or one).
    std::vector<int64_t> rowIdsOf(const MasterKey& key);

    PgConnection& connection() { return *connection_; }

private:
    std::unique_ptr<PgConnection> connection_;
};

} // namespace brimlo
