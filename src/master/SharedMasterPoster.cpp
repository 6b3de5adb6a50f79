#include "master/SharedMasterPoster.h"

#include "support/PgConnection.h"
#include "support/Prompt.h"

#include <cstdlib>
#include <unistd.h>

namespace brimlo {

SharedMasterPoster::SharedMasterPoster(Connect connect, const std::string& outboxPath,
                                       std::string station, Prompt& prompt)
    : connect_(std::move(connect)), outbox_(outboxPath), station_(std::move(station)),
      prompt_(prompt) {
    drain();
}

SharedMasterPoster::~SharedMasterPoster() = default;

std::string SharedMasterPoster::DefaultStation() {
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) != 0)
        host[0] = '\0';
    const char* user = std::getenv("USER");
    return std::string(user ? user : "") + "@" + host;
}

MasterStore* SharedMasterPoster::store() {
    if (!store_)
        store_ = connect_();
    return store_.get();
}

bool SharedMasterPoster::post(const Record& values) {
    return post(MasterPost{values, station_, MasterPost::Now()});
}

bool SharedMasterPoster::post(const MasterPost& post) {
    if (drain() > 0) {
        keep(post);
        return false;
    }
    try {
        store()->post(post);
        return true;
    } catch (const PgUnreachable&) {
        keep(post);
        return false;
    }
}

int SharedMasterPoster::drain() {
    try {
        while (const std::optional<MasterOutbox::Entry> entry = outbox_.front()) {
            try {
                store()->post(entry->post);
            } catch (const PgUnreachable&) {
                throw;
            } catch (const BrimloError& e) {
                outbox_.refused(entry->id, e.text());
                prompt_.message("The master database refused a load kept on this computer (mill " +
                                    MasterKey::Of(entry->post.values).millCode + ", load " +
                                    std::to_string(MasterKey::Of(entry->post.values).loadNum) +
                                    "): " + e.text(),
                                "Master Database", PromptIcon::Error);
                continue;
            }
            outbox_.sent(entry->id);
        }
    } catch (const PgUnreachable&) {
        return outbox_.pending();
    }
    told_ = false;
    return 0;
}

void SharedMasterPoster::keep(const MasterPost& post) {
    outbox_.add(post);
    tellOffline();
}

void SharedMasterPoster::tellOffline() {
    if (told_)
        return;
    told_ = true;
    prompt_.message(
        "The master database server cannot be reached. The load is kept on this computer "
        "and will be posted to the master database when the server is back.",
        "Master Database", PromptIcon::Information);
}

} // namespace brimlo
