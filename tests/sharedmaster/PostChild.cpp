// One scale house posting to a shared master, for the tests that run
// several at once: posts versions of a set of loads through its own outbox
// and notes every acknowledged post, then waits until its outbox is empty.
//
//   brimlo_pg_post_child URI OUTBOX WRITER POSTS KEYS ACKLOG
//
// Ack log lines: load number, version, posting time (microseconds), and
// "server" or "kept".

#include "common/SilentPrompt.h"
#include "master/PgMasterStore.h"
#include "master/SharedMasterPoster.h"
#include "master/SharedMasterSupport.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

using namespace brimlo;

int main(int argc, char** argv) {
    if (argc != 7)
        return 2; // see the usage above
    const std::string uri = argv[1];
    const int writer = std::atoi(argv[3]);
    const int posts = std::atoi(argv[4]);
    const int keys = std::atoi(argv[5]);
    std::FILE* acks = std::fopen(argv[6], "w");
    if (!acks)
        return 2;
    testing::SilentPrompt prompt;
    try {
        SharedMasterPoster poster([&] { return std::make_unique<PgMasterStore>(uri); }, argv[2],
                                  "writer" + std::to_string(writer), prompt);
        for (int i = 0; i < posts; ++i) {
            const int32_t load = 1 + (i * 7 + writer * 3) % keys;
            const int version = writer * 100000 + i;
            const MasterPost post{testing::SharedMasterRecord("AB", load, version),
                                  "writer" + std::to_string(writer), MasterPost::Now()};
            const bool onServer = poster.post(post);
            std::fprintf(acks, "%d %d %lld %s\n", load, version,
                         static_cast<long long>(post.postedAt), onServer ? "server" : "kept");
            std::fflush(acks);
        }
        for (int waited = 0; poster.drain() > 0; ++waited) {
            if (waited > 600)
                return 3; // the server never came back
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "writer %d: %s\n", writer, e.what());
        return 1;
    }
    std::fclose(acks);
    return 0;
}
