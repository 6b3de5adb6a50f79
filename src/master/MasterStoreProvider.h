#pragma once

#include "master/MasterStore.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace brimlo {

class MasterTable;
class Prompt;
class SharedMasterPoster;

// The master the program works on: this computer's master.db (the default)
// or a master on a database server. The main window owns one and hands its
// store to whatever reads or posts the master. On a server, posts go
// through the data folder's outbox while the server cannot be reached;
// connections are opened on first use, so choosing a server that is down
// costs nothing until the master is needed.
class MasterStoreProvider {
public:
    using Connect = std::function<std::unique_ptr<MasterStore>(const std::string& uri)>;

    // table: master.db of the data folder; outboxPath: where the posts wait
    // (outbox.db in the data folder); prompt: where the poster tells the
    // user of the server. connect opens a server's store (by default a
    // PgMasterStore).
    MasterStoreProvider(MasterTable& table, std::string outboxPath, Prompt& prompt,
                        Connect connect = {});
    ~MasterStoreProvider();

    // Switches to the server at uri, or back to master.db without one.
    void choose(std::optional<std::string> serverUri);
    bool onServer() const { return server_.has_value(); }
    // The server's connection string; empty for master.db.
    std::string serverUri() const { return server_.value_or(std::string()); }

    // The store readers go through (reports, the maintenance window, the
    // exports). On a server it connects first; a server that cannot be
    // reached throws PgUnreachable.
    MasterStore& store();

    // Posts a master record to the server, or keeps it in the outbox while
    // the server cannot be reached (the user is told once). True when the
    // server has it. Only on a server: master.db is posted to by the
    // window's own table.
    bool postToServer(const Record& record);
    // Sends what waits in the outbox, oldest first; the number still
    // waiting. Nothing to do on master.db.
    int drainOutbox();
    // The posts waiting in the outbox, without asking the server; none on
    // master.db.
    int pendingPosts();

    // Connects to the server at uri and asks it something: empty when it
    // answered, else the connection's error (a test of what the user typed).
    static std::string ProbeServer(const std::string& uri);

private:
    SharedMasterPoster& poster();

    MasterTable& table_;
    std::string outboxPath_;
    Prompt& prompt_;
    Connect connect_;
    std::optional<std::string> server_;
    std::unique_ptr<MasterStore> local_;
    std::unique_ptr<MasterStore> reader_;
    std::unique_ptr<SharedMasterPoster> poster_;
};

} // namespace brimlo
