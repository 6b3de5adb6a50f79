#include "master/MasterStoreProvider.h"

#include "master/MasterOutbox.h"
#include "master/ParadoxMasterStore.h"
#include "master/PgMasterStore.h"
#include "master/SharedMasterPoster.h"
#include "support/PgConnection.h"

namespace brimlo {

MasterStoreProvider::MasterStoreProvider(MasterTable& table, std::string outboxPath, Prompt& prompt,
                                         Connect connect)
    : table_(table), outboxPath_(std::move(outboxPath)), prompt_(prompt),
      connect_(std::move(connect)) {
    if (!connect_)
        connect_ = [](const std::string& uri) { return std::make_unique<PgMasterStore>(uri); };
}

MasterStoreProvider::~MasterStoreProvider() = default;

void MasterStoreProvider::choose(std::optional<std::string> serverUri) {
    if (serverUri && serverUri->empty())
        serverUri.reset();
    if (serverUri == server_)
        return;
    // Posts already kept stay in the outbox file and go to whichever
    // server is chosen when it is next drained.
    poster_.reset();
    reader_.reset();
    server_ = std::move(serverUri);
}

MasterStore& MasterStoreProvider::store() {
    if (!server_) {
        if (!local_)
            local_ = std::make_unique<ParadoxMasterStore>(table_);
        return *local_;
    }
    if (!reader_)
        reader_ = connect_(*server_);
    return *reader_;
}

SharedMasterPoster& MasterStoreProvider::poster() {
    if (!poster_)
        poster_ = std::make_unique<SharedMasterPoster>(
            [this, uri = *server_] { return connect_(uri); }, outboxPath_,
            SharedMasterPoster::DefaultStation(), prompt_);
    return *poster_;
}

bool MasterStoreProvider::postToServer(const Record& record) {
    if (!server_)
        throw BrimloError("No master database server is chosen");
    return poster().post(record);
}

int MasterStoreProvider::drainOutbox() {
    if (!server_)
        return 0;
    // A poster drains as it is made: no second try at a server that just
    // did not answer.
    if (!poster_)
        return poster().pending();
    return poster_->drain();
}

int MasterStoreProvider::pendingPosts() {
    if (!server_)
        return 0;
    return poster_ ? poster_->pending() : MasterOutbox(outboxPath_).pending();
}

std::string MasterStoreProvider::ProbeServer(const std::string& uri) {
    try {
        PgConnection connection(uri);
        connection.exec("SELECT 1");
        return {};
    } catch (const BrimloError& e) {
        return e.text();
    }
}

} // namespace brimlo
