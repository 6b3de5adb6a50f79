#include "ParadoxReference.h"
#include "common/ForkedProcess.h"
#include "common/TempDir.h"
#include "support/BrimloError.h"
#include "support/JournaledFile.h"
#include "support/ParadoxTable.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <poll.h>
#include <random>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace brimlo {
namespace {

// Lets the poster run until it has acknowledged the given number of posts,
// waits the given share of the time one post took so far, so the kill lands
// anywhere in the next post, kills it and gathers what it said. Counting
// acknowledgements rather than sleeping a fixed time keeps every round
// meaningful however busy the machine is.
testing::PostsSaid RunAndKill(const std::string& path, int who, int acknowledgements,
                              double shareOfAPost) {
    const auto start = std::chrono::steady_clock::now();
    const testing::Forked poster = testing::Fork([&](int fd) {
        // pauses inside page writes make the kill land there often
        JournaledFile::setPageWriteHookForTests([] { ::usleep(250); });
        testing::PostMasterRecords(path, fd, who, 0, true);
    });
    std::string said;
    char buf[4096];
    const auto giveUp = start + std::chrono::seconds(60);
    auto dones = [&said] {
        int count = 0;
        for (size_t at = said.find("done\n"); at != std::string::npos;
             at = said.find("done\n", at + 1))
            ++count;
        return count;
    };
    while (dones() < acknowledgements && std::chrono::steady_clock::now() < giveUp) {
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
// at all, no record is torn, and pxlib still reads the table.
TEST(ParadoxCrashTest, KilledPosterLosesNoAcknowledgedPostAndTearsNoRecord) {
    testing::TempDir dir;
    const std::string path = dir / "master.db";
    std::map<int, int> posted; // key -> seed
    {
        auto table = ParadoxTable::create(path, testing::MasterLayoutForTests());
        for (int key = 1; key <= 6; ++key) {
            table->insert(testing::MasterRecordFor(key, key));
            posted[key] = key;
        }
    }
    std::mt19937 random(2024);
    size_t acknowledged = 0;
    size_t unfinishedSeen = 0;
    size_t asked = 0;
    for (int round = 0; round < 50; ++round) {
        const int acknowledgements = 1 + static_cast<int>(random() % 3);
        const double share = static_cast<double>(random() % 1000) / 1000.0;
        const testing::PostsSaid r = RunAndKill(path, round + 1, acknowledgements, share);
        asked += static_cast<size_t>(acknowledgements);
        ASSERT_TRUE(r.error.empty()) << r.error;
        for (const auto& [key, seed] : r.done)
            posted[key] = seed;
        acknowledged += r.done.size();

        const std::map<int, int> found = testing::MasterSeedsOf(path);
        ASSERT_FALSE(HasFailure()) << "round " << round;
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

} // namespace
} // namespace brimlo
