// Two processes posting to one master.db at the same time, through the
// dataset and the table engine, as two copies of the program (or the program
// and a command-line tool) would.
#include "ParadoxReference.h"
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
#include <optional>
#include <random>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace brimlo {
namespace {

constexpr int kKeyField = 9;  // LOAD_NUM
constexpr int kSeedField = 2; // MILL_NUM

// The full run lasts 10 s (BRIMLO_SHARED_POST_SECONDS=10); the suite keeps
// it short.
double PostingSeconds() {
    const char* seconds = std::getenv("BRIMLO_SHARED_POST_SECONDS");
    return seconds ? std::atof(seconds) : 2.0;
}

// Posts new loads and posts its own earlier loads again, flat out, until the
// time is up; writes "key seed" for every post once it returned.
[[noreturn]] void Poster(const std::string& path, int fd, int who, double seconds) {
    try {
        Dataset master(ParadoxStore::open(path));
        std::mt19937 random(static_cast<unsigned>(who));
        std::vector<int> mine;
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        std::string said;
        for (int n = 1; std::chrono::steady_clock::now() < end; ++n) {
            const bool fresh = mine.empty() || random() % 3 == 0;
            const int key = fresh ? who * 1000000 + n : mine[random() % mine.size()];
            const int seed = who * 1000000 + n;
            const Record values = testing::MasterRecordFor(key, seed);
            master.beginBulk();
            if (master.locate({{"LOAD_NUM", Value(key)}}))
                master.edit();
            else
                master.insert();
            for (size_t i = 0; i < values.size(); ++i)
                master.setField(static_cast<int>(i), values[i]);
            master.post();
            master.endBulk();
            said = std::to_string(key) + " " + std::to_string(seed) + "\n";
            if (::write(fd, said.data(), said.size()) != static_cast<ssize_t>(said.size()))
                ::_exit(3);
            if (fresh)
                mine.push_back(key);
        }
        ::_exit(0);
    } catch (const BrimloError& e) {
        const std::string text = std::string("error ") + e.what() + "\n";
        [[maybe_unused]] const ssize_t n = ::write(fd, text.data(), text.size());
        ::_exit(2);
    }
}

struct PosterRun {
    pid_t pid = 0;
    int fd = -1;
};

PosterRun StartPoster(const std::string& path, int who, double seconds) {
    int fds[2];
    if (::pipe(fds) != 0)
        throw std::runtime_error("no pipe");
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        Poster(path, fds[1], who, seconds);
    }
    ::close(fds[1]);
    return {pid, fds[0]};
}

std::string Collect(const PosterRun& run, int& status) {
    std::string said;
    char buf[65536];
    ssize_t n;
    while ((n = ::read(run.fd, buf, sizeof buf)) > 0)
        said.append(buf, static_cast<size_t>(n));
    ::close(run.fd);
    ::waitpid(run.pid, &status, 0);
    return said;
}

TEST(ParadoxSharedTest, TwoProcessesPostingFlatOutLoseNothingAndTearNothing) {
    testing::TempDir dir;
    const std::string path = dir / "master.db";
    ParadoxTable::create(path, testing::MasterLayoutForTests());
    // what is tested is the lock and the stale views, not the disk's speed
    std::optional<JournaledFile::Relaxed> relaxed(std::in_place,
                                                  JournaledFile::Shortcuts{.flush = false});
    const double seconds = PostingSeconds();
    const PosterRun a = StartPoster(path, 1, seconds);
    const PosterRun b = StartPoster(path, 2, seconds);
    std::map<int, int> acknowledged; // key -> seed of its last post
    size_t posts = 0;
    for (const PosterRun& run : {a, b}) {
        int status = 0;
        std::istringstream lines(Collect(run, status));
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << lines.str().substr(0, 400);
        int key = 0;
        int seed = 0;
        while (lines >> key >> seed) {
            acknowledged[key] = seed;
            ++posts;
        }
    }
    relaxed.reset();

    const std::vector<StoredRow> rows = ParadoxTable::open(path)->readAll();
    std::map<int, int> found;
    size_t torn = 0;
    for (const StoredRow& row : rows) {
        const int key = row.values[kKeyField].asInt();
        const int seed = row.values[kSeedField].asInt();
        torn += row.values == testing::MasterRecordFor(key, seed) ? 0 : 1;
        EXPECT_TRUE(found.emplace(key, seed).second) << "key twice: " << key;
    }
    size_t lost = 0;
    for (const auto& [key, seed] : acknowledged) {
        const auto it = found.find(key);
        lost += it != found.end() && it->second == seed ? 0 : 1;
    }
    EXPECT_EQ(torn, 0u);
    EXPECT_EQ(lost, 0u);
    EXPECT_EQ(found.size(), acknowledged.size());
    const testing::PxContents px = testing::PxRead(path);
    ASSERT_EQ(px.records.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(px.records[i], rows[i].values) << "pxlib reads record " << i << " otherwise";
    EXPECT_GT(posts, 20u) << "the posters hardly got to post";
    std::printf("%.1f s: %zu acknowledged posts, %zu records, %zu lost, %zu torn\n", seconds, posts,
                rows.size(), lost, torn);
}

} // namespace
} // namespace brimlo

namespace brimlo {
namespace {

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
            if (master.field(kKeyField).asInt() % 3 == 0)
                master.remove();
            else
                master.next();
        }
        master.pack();
    }
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(testing::PxRead(target).records, kept);
    std::vector<Record> read;
    for (const StoredRow& row : ParadoxTable::open(link)->readAll())
        read.push_back(row.values);
    EXPECT_EQ(read, kept);

    std::filesystem::remove(target);
    EXPECT_THROW(ParadoxStore::openOrCreate(link, testing::MasterLayoutForTests()), BrimloError);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_FALSE(std::filesystem::exists(target));
}

} // namespace
} // namespace brimlo
