// Posters in processes of their own, through the dataset and a store: killed
// at random moments, two at once on one master.db as two copies of the
// program (or the program and a command-line tool) would, and one posting
// through a link to a shared file.
#include "ParadoxReference.h"
#include "common/ForkedProcess.h"
#include "common/TempDir.h"
#include "support/BrimloError.h"
#include "support/Dataset.h"
#include "support/ParadoxStore.h"
#include "support/ParadoxTable.h"
#include "support/SqliteStore.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <poll.h>
#include <random>
#include <thread>

namespace brimlo {
namespace {

// Lets the poster run until it has acknowledged the given number of posts,
// waits the given share of the time one post took so far, so the kill lands
// anywhere in the next post, kills it and gathers what it said. Counting
// acknowledgements rather than sleeping a fixed time keeps every round
// meaningful however busy the machine is.
using Opener = std::function<std::unique_ptr<TableStore>()>;

testing::PostsSaid RunAndKill(const Opener& open, int who, int acknowledgements,
                              double shareOfAPost) {
    const auto start = std::chrono::steady_clock::now();
    const testing::Forked poster = testing::Fork([&](int fd) {
        // pauses inside page writes make the kill land there often
        JournaledFile::setPageWriteHookForTests([] { ::usleep(250); });
        testing::PostMasterRecords(open, fd, who, 0, true, false);
    });
    std::string said;
    char buf[4096];
    const auto giveUp = start + std::chrono::seconds(60);
    while (testing::ParsePosts(said).done.size() < static_cast<size_t>(acknowledgements) &&
           std::chrono::steady_clock::now() < giveUp) {
        pollfd in{poster.fd, POLLIN, 0};
        if (::poll(&in, 1, 1000) <= 0)
            continue;
        const ssize_t n = ::read(poster.fd, buf, sizeof buf);
        if (n <= 0)
            break; // the poster ended on its own: an error it said
        said.append(buf, static_cast<size_t>(n));
    }
    const auto onePost = (std::chrono::steady_clock::now() - start) / acknowledgements;
    std::this_thread::sleep_for(onePost * shareOfAPost);
    ::kill(poster.pid, SIGKILL);
    said += testing::ReadToEnd(poster);
    return testing::ParsePosts(said);
}

// A poster killed at random moments, many times over: every post it
// acknowledged is in the table, the one it was writing is there whole or not
// at all, and no record is torn. posted holds what the table held before.
void KillPostersAtRandom(const Opener& open, const std::function<std::map<int, int>()>& seeds,
                         int rounds, std::map<int, int> posted) {
    std::mt19937 random(2024);
    size_t acknowledged = 0, unfinishedSeen = 0, asked = 0;
    for (int round = 0; round < rounds; ++round) {
        const int acknowledgements = 1 + static_cast<int>(random() % 3);
        const double share = static_cast<double>(random() % 1000) / 1000.0;
        const testing::PostsSaid r = RunAndKill(open, round + 1, acknowledgements, share);
        asked += static_cast<size_t>(acknowledgements);
        ASSERT_TRUE(r.error.empty()) << r.error;
        for (const auto& [key, seed] : r.done)
            posted[key] = seed;
        acknowledged += r.done.size();

        const std::map<int, int> found = seeds();
        ASSERT_FALSE(::testing::Test::HasFailure()) << "round " << round;
        if (r.unfinished && found.count(r.unfinished->first) &&
            found.at(r.unfinished->first) == r.unfinished->second) {
            posted.insert_or_assign(r.unfinished->first, r.unfinished->second);
            ++unfinishedSeen;
        }
        ASSERT_EQ(found, posted) << "round " << round;
    }
    EXPECT_GE(acknowledged, asked) << "the poster stopped acknowledging its posts";
    std::printf("%zu acknowledged posts, %zu posts found complete though unacknowledged\n",
                acknowledged, unfinishedSeen);
}

// pxlib still reads the table after each kill.
TEST(ParadoxCrashTest, KilledPosterLosesNoAcknowledgedPostAndTearsNoRecord) {
    testing::TempDir dir;
    const std::string path = dir / "master.db";
    std::map<int, int> posted; // key -> seed
    auto table = ParadoxTable::create(path, testing::MasterLayoutForTests());
    for (int key = 1; key <= 6; ++key) {
        table->insert(testing::MasterRecordFor(key, key));
        posted[key] = key;
    }
    table.reset();
    KillPostersAtRandom([&] { return ParadoxStore::open(path); },
                        [&] { return testing::MasterSeedsOf(path); }, 50, posted);
}

TEST(SqliteCrashTest, AcknowledgedPostsSurviveAKilledProcess) {
    testing::TempDir dir;
    const std::string path = dir / "Log1.db";
    SqliteStore::create(path, testing::MasterLayoutForTests());
    const auto seeds = [&] {
        return testing::MasterSeedsIn(testing::RecordsOf(SqliteStore::open(path)->readAll()));
    };
    KillPostersAtRandom([&] { return SqliteStore::open(path); }, seeds, 10, {});
}

// The full run lasts 10 s (BRIMLO_SHARED_POST_SECONDS=10); the suite keeps
// it short.
TEST(ParadoxSharedTest, TwoProcessesPostingFlatOutLoseNothingAndTearNothing) {
    testing::TempDir dir;
    const std::string path = dir / "master.db";
    ParadoxTable::create(path, testing::MasterLayoutForTests());
    const char* setting = std::getenv("BRIMLO_SHARED_POST_SECONDS");
    const double seconds = setting ? std::atof(setting) : 2.0;
    // what is tested is the lock and the stale views, not the disk's speed
    const auto poster = [&](int who) {
        return testing::Fork([&, who](int fd) {
            const auto open = [&] {
                auto store = ParadoxStore::open(path);
                store->table().setShortcuts({.flush = false});
                return store;
            };
            testing::PostMasterRecords(open, fd, who, seconds, false, true);
        });
    };
    const testing::Forked a = poster(1), b = poster(2);
    std::map<int, int> acknowledged; // key -> seed of its last post
    size_t posts = 0;
    for (const testing::Forked& run : {a, b}) {
        int status = 0;
        const testing::PostsSaid said = testing::ParsePosts(testing::ReadToEnd(run, &status));
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << said.error;
        for (const auto& [key, seed] : said.done)
            acknowledged[key] = seed;
        posts += said.done.size();
    }
    EXPECT_EQ(testing::MasterSeedsOf(path), acknowledged);
    EXPECT_GT(posts, 20u) << "the posters hardly got to post";
    std::printf("%.1f s: %zu acknowledged posts of %zu loads\n", seconds, posts,
                acknowledged.size());
}

// A master.db that is a link to a shared file: deletes and the pack after
// them change the shared file and keep the link; once the shared file is
// gone the link is refused, never replaced by a new empty table.
TEST(ParadoxLinkTest, ALinkedMasterStaysALinkThroughDeletesAndPack) {
    testing::TempDir dir;
    std::filesystem::create_directory(dir / "share");
    const std::string target = dir / "share" / "master.db";
    const std::string link = dir / "master.db";
    ParadoxTable::create(target, testing::MasterLayoutForTests());
    std::filesystem::create_symlink(target, link);
    std::vector<Record> kept;
    {
        auto master = ParadoxStore::open(link);
        std::vector<RowId> deleted;
        for (int key = 1; key <= 60; ++key) {
            const RowId id = master->insert(testing::MasterRecordFor(key, key));
            key % 3 ? kept.push_back(testing::MasterRecordFor(key, key)) : deleted.push_back(id);
        }
        for (const RowId id : deleted)
            master->remove(id);
        master->pack();
    }
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(testing::PxRead(target).records, kept);
    EXPECT_EQ(testing::RecordsOf(ParadoxTable::open(link)->readAll()), kept);

    std::filesystem::remove(target);
    EXPECT_THROW(ParadoxStore::openOrCreate(link, testing::MasterLayoutForTests()), BrimloError);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_FALSE(std::filesystem::exists(target));
}

} // namespace
} // namespace brimlo
