#pragma once

#include "master/MasterStore.h"
#include "support/TableStore.h"

#include <memory>
#include <optional>
#include <string>

namespace brimlo {

class SqliteStore;

// Posts kept on this computer while the master database server cannot be
// reached: a private table ("outbox.db" in the data directory) holding each
// post with who posted it and when, on disk before add() returns. Posts
// leave it oldest first. A post replaces a waiting post of the same load,
// which it would overwrite on the server anyway. A post the server refused
// stays, marked with the server's answer, and is no longer offered.
class MasterOutbox {
public:
    struct Entry {
        RowId id;
        MasterPost post;
    };

    // Opens the table, creating it when there is none.
    explicit MasterOutbox(const std::string& path);
    ~MasterOutbox();

    void add(const MasterPost& post);
    // The oldest post still to be sent.
    std::optional<Entry> front();
    // Posts still to be sent.
    int pending();
    // A sent post leaves the table.
    void sent(RowId id);
    void refused(RowId id, const std::string& why);

private:
    std::unique_ptr<SqliteStore> store_;
};

} // namespace brimlo
