#include "common/PostgresServer.h"
#include "common/TempDir.h"
#include "support/PgConnection.h"

#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <thread>

using namespace brimlo;
using namespace brimlo::testing;

namespace {

constexpr int kWriters = 8;
constexpr int kKeys = 40;

// 500 posts a writer; BRIMLO_SHARED_MASTER_POSTS sets another number.
int PostsPerWriter() {
    const char* posts = std::getenv("BRIMLO_SHARED_MASTER_POSTS");
    return posts ? std::atoi(posts) : 500;
}

struct Ack {
    int version = -1;
    long long postedAt = -1;
};

class SharedMasterWriters : public ::testing::TestWithParam<bool> {};

} // namespace

// Eight scale houses post versions of the same forty loads at once; with
// the parameter set the server is stopped while they post and started
// again. Each load must hold the post that was made last of all those
// acknowledged (on the server or in an outbox), and every load posted must
// be there.
TEST_P(SharedMasterWriters, EveryLoadHoldsItsLastAcknowledgedPost) {
    const bool stopMidway = GetParam();
    PostgresServer server;
    const std::string uri = server.createDatabase("writers");
    TempDir dir;
    const int posts = PostsPerWriter();
    std::vector<std::unique_ptr<QProcess>> writers;
    for (int w = 0; w < kWriters; ++w) {
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const auto arg = [](const std::string& s) { return QString::fromStdString(s); };
        process->start(arg(BRIMLO_PG_POST_CHILD),
                       {arg(uri), arg((dir / ("outbox" + std::to_string(w) + ".db")).string()),
                        QString::number(w), QString::number(posts), QString::number(kKeys),
                        arg((dir / ("acks" + std::to_string(w))).string())});
        ASSERT_TRUE(process->waitForStarted());
        writers.push_back(std::move(process));
    }
    if (stopMidway) {
        const auto acked = [&] {
            long lines = 0;
            for (int w = 0; w < kWriters; ++w) {
                std::ifstream in(dir / ("acks" + std::to_string(w)));
                lines += std::count(std::istreambuf_iterator<char>(in), {}, '\n');
            }
            return lines;
        };
        while (acked() < kWriters * posts / 3)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        server.stop();
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        server.start();
    }
    for (auto& process : writers) {
        ASSERT_TRUE(process->waitForFinished(240000));
        EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process->exitCode(), 0);
    }

    std::map<int, Ack> last; // by load number
    int kept = 0, acks = 0;
    for (int w = 0; w < kWriters; ++w) {
        std::ifstream in(dir / ("acks" + std::to_string(w)));
        int load = 0;
        Ack ack;
        std::string where;
        while (in >> load >> ack.version >> ack.postedAt >> where) {
            ++acks;
            kept += where == "kept" ? 1 : 0;
            if (ack.postedAt >= last[load].postedAt)
                last[load] = ack;
        }
    }
    ASSERT_EQ(acks, kWriters * posts);
    EXPECT_TRUE(!stopMidway || kept > 0) << "no post found the server down";

    PgConnection sql(uri);
    const PgResult rows = sql.exec("SELECT load_num, trees, "
                                   "(extract(epoch FROM posted_at) * 1000000)::bigint FROM master");
    ASSERT_EQ(rows.rows(), static_cast<int>(last.size()));
    for (int row = 0; row < rows.rows(); ++row) {
        const Ack& want = last[static_cast<int>(rows.number(row, 0))];
        EXPECT_EQ(rows.number(row, 1), want.version) << "load " << rows.text(row, 0);
        EXPECT_EQ(rows.number(row, 2), want.postedAt) << "load " << rows.text(row, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(ServerUpOrStoppedMidway, SharedMasterWriters, ::testing::Bool());
