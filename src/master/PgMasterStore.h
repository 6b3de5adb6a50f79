#pragma once

#include "master/MasterStore.h"
#include "support/FieldDef.h"

#include <memory>
#include <string>
#include <string_view>

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

    PgConnection& connection() { return *connection_; }

private:
    std::unique_ptr<PgConnection> connection_;
};

} // namespace brimlo
