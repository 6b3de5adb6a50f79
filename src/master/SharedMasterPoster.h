#pragma once

#include "master/MasterOutbox.h"
#include "master/MasterStore.h"

#include <functional>
#include <memory>
#include <string>

namespace brimlo {

class Prompt;

// Posts master records to a store on a database server, keeping them in
// the outbox while the server cannot be reached. A post is acknowledged
// when the server has committed it or the outbox holds it on disk; nothing
// acknowledged is lost. The outbox is sent first, oldest first: when the
// poster is made, before every post, and whenever drain() is called (a
// window calls it on a timer). While anything waits in the outbox a
// new post joins it behind the others. The user is told once when the
// server is first found unreachable, and again only after the outbox has
// emptied.
class SharedMasterPoster {
public:
    using Connect = std::function<std::unique_ptr<MasterStore>()>;

    // connect opens the store (it throws PgUnreachable when the server
    // cannot be reached); station names this computer's poster; the user
    // is told on prompt, which must outlive the poster.
    SharedMasterPoster(Connect connect, const std::string& outboxPath, std::string station,
                       Prompt& prompt);
    ~SharedMasterPoster();

    // True when the record is on the server, false when kept in the
    // outbox. A record the server refuses throws, and is not kept.
    bool post(const Record& values);
    // The same for a post stamped by the caller.
    bool post(const MasterPost& post);
    // Sends what waits; returns how many posts still wait.
    int drain();
    int pending() { return outbox_.pending(); }

    // "user@computer", naming who posts from here.
    static std::string DefaultStation();

private:
    MasterStore* store();
    void keep(const MasterPost& post);
    void tellOffline();

    Connect connect_;
    std::unique_ptr<MasterStore> store_;
    MasterOutbox outbox_;
    std::string station_;
    Prompt& prompt_;
    bool told_ = false;
};

} // namespace brimlo
