// Kills the keying process at random moments and checks, after each kill,
// what the next start of the program would find: every acknowledged log in
// its workspace, the load file whole in its old or new version, master.db
// readable by us and by pxlib with every acknowledged post, and the export
// files absent or complete. BRIMLO_CRASH_KILLS sets the number of kills.
#include "AckLog.h"
#include "StateChecks.h"
#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace brimlo::crash {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using None = std::vector<std::string>;

int KillCount() {
    const char* text = std::getenv("BRIMLO_CRASH_KILLS");
    return text && std::atoi(text) > 0 ? std::atoi(text) : 12;
}

// The keying process has started, or failed to.
bool Started(const std::string& ackFile) {
    for (const std::string& line : AckLog::Read(ackFile))
        if (line == "READY" || line.rfind("FAIL", 0) == 0)
            return true;
    return false;
}

class CrashDriver : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dataDir);
        fs::create_directories(loadDir);
        WriteDefaults(dataDir);
    }

    std::string ackFile(int run) const {
        return (temp.path() / "run").string() + std::to_string(run);
    }

    // Starts the keying process, lets it work for a while and kills it.
    // False when it stopped by itself.
    bool runAndKill(int run, std::mt19937& random) {
        const std::string ack = ackFile(run);
        const pid_t child = fork();
        if (child == 0) {
            const std::string runText = std::to_string(run), seed = std::to_string(random());
            execl(BRIMLO_CRASH_CHILD, BRIMLO_CRASH_CHILD, dataDir.c_str(), loadFile.c_str(),
                  exportFile.c_str(), ack.c_str(), runText.c_str(), seed.c_str(), nullptr);
            _exit(127);
        }
        // One kill in eight lands while the program is still starting.
        const bool early = random() % 8 == 0;
        if (!early)
            for (int i = 0; i < 4000 && !Started(ack); ++i)
                std::this_thread::sleep_for(5ms);
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % (early ? 400 : 1500)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }

    // A failed run's files stay for a look at what went wrong.
    void keepForInspection() const {
        const fs::path kept =
            fs::temp_directory_path() / ("brimlo-crash-failure-" + std::to_string(getpid()));
        fs::copy(temp.path(), kept, fs::copy_options::recursive);
        std::cout << "[ crash    ] the files are kept in " << kept.string() << "\n";
    }

    testing::TempDir temp;
    const std::string dataDir = (temp.path() / "appdata").string() + "/";
    const std::string loadDir = (temp.path() / "loads").string() + "/";
    const std::string loadFile = loadDir + "AB00701000.txt", exportFile = loadDir + "master.out";
};

TEST_F(CrashDriver, NothingAcknowledgedIsLostWhereverTheProcessIsKilled) {
    testing::ScriptedPrompt prompt; // the take-over asks nothing: any box fails
    std::mt19937 random(static_cast<unsigned>(std::random_device{}()));
    CrashModel model;
    const int kills = KillCount();
    int debris = 0, unfinished = 0;
    for (int run = 0; run < kills; ++run) {
        if (!runAndKill(run, random))
            FAIL() << "the keying process stopped by itself; it said: "
                   << ::testing::PrintToString(AckLog::Read(ackFile(run)));
        model.takeRun(AckLog::Read(ackFile(run)));
        SCOPED_TRACE("run " + std::to_string(run));
        EXPECT_EQ(model.runProblems, None{});
        EXPECT_EQ(CheckMaster(dataDir + "master.db", model), None{});
        EXPECT_EQ(CheckLoadFile(loadFile, model), None{});
        EXPECT_EQ(CheckExport(exportFile, model), None{});
        EXPECT_EQ(CheckAndReleaseWorkspace(dataDir, model, unfinished), None{});
        debris += RemoveStagingDebris(loadDir);
        if (HasFailure()) {
            keepForInspection();
            break;
        }
    }
    std::cout << "[ crash    ] " << kills << " kills, " << model.logsAcked << " logs, "
              << model.savesAcked << " saves and posts, " << model.exportsAcked
              << " exports acknowledged; " << model.interruptedSaves << " saves and "
              << model.interruptedExports << " exports cut short; " << debris
              << " staging files left; " << unfinished << " workspaces caught while being made\n";
    // The runs must have reached the work they are meant to interrupt.
    EXPECT_GT(model.savesAcked, 0);
}

} // namespace
} // namespace brimlo::crash
