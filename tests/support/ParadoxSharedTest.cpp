// Two processes posting to one master.db at the same time, through the
// dataset and the table engine, as two copies of the program (or the program
// and a command-line tool) would.
#include "ParadoxReference.h"
#include "common/ForkedProcess.h"
#include "common/TempDir.h"
#include "support/BrimloError.h"
#include "support/Dataset.h"
#include "support/JournaledFile.h"
#include "support/ParadoxStore.h"
#include "support/ParadoxTable.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace brimlo {
namespace {

// The full run lasts 10 s (BRIMLO_SHARED_POST_SECONDS=10); the suite keeps
// it short.
double PostingSeconds() {
    const char* seconds = std::getenv("BRIMLO_SHARED_POST_SECONDS");
    return seconds ? std::atof(seconds) : 2.0;
}

TEST(ParadoxSharedTest, TwoProcessesPostingFlatOutLoseNothingAndTearNothing) {
    testing::TempDir dir;
    const std::string path = dir / "master.db";
    ParadoxTable::create(path, testing::MasterLayoutForTests());
    const double seconds = PostingSeconds();
    // what is tested is the lock and the stale views, not the disk's speed
    const auto poster = [&](int who) {
        return testing::Fork([&, who](int fd) {
            testing::PostMasterRecords(path, fd, who, seconds, false, {.flush = false});
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
        Dataset master(ParadoxStore::open(link));
        for (int key = 1; key <= 60; ++key) {
            master.insert();
            const Record values = testing::MasterRecordFor(key, key);
            for (size_t i = 0; i < values.size(); ++i)
                master.setField(static_cast<int>(i), values[i]);
            master.post();
            if (key % 3 != 0)
                kept.push_back(values);
        }
        for (master.first(); !master.eof();) {
            if (master.field("LOAD_NUM").asInt() % 3 == 0)
                master.remove();
            else
                master.next();
        }
        master.pack();
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
