// Writes that fail under the program: a full disk, a read-only data
// directory, a data directory removed while the program runs. Each failing
// save, post, export and log post tells the user what happened, loses
// nothing already written, and leaves the window working: a later save to
// a good place succeeds. The one application object of the tests of this
// folder lives here too.
#include "AckLog.h"
#include "ScriptedWindows.h"
#include "StateChecks.h"
#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "load/LoadDocument.h"
#include "master/MasterFields.h"
#include "shell/BrimloApplication.h"
#include "shell/TfrmDataEntry.h"
#include "shell/TfrmMain.h"
#include "support/ParadoxTable.h"
#include "support/SqliteStore.h"

#include <QAction>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <sched.h>
#include <stdexcept>
#include <sys/mount.h>
#include <unistd.h>

namespace brimlo::crash {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedPrompt;

// File systems the tests make for themselves: a small tmpfs that fills up,
// and a read-only view of a directory. They live in a mount namespace of
// this process only, so nothing outside the tests sees them. That needs
// the right to make mounts (root, or a user namespace); the tests skip
// with the reason otherwise.
std::string mountsUnavailable = "the mount namespace was not prepared";

// Once, before any thread is started: a namespace is per process.
void EnterPrivateMountNamespace() {
    if (mountsUnavailable.empty())
        return;
    const bool entered = ::unshare(CLONE_NEWNS) == 0 &&
                         ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    mountsUnavailable =
        entered ? "" : std::string("no private mount namespace: ") + std::strerror(errno);
}

void MountOrThrow(const char* source, const std::string& dir, const char* type, unsigned long flags,
                  const std::string& options = {}) {
    if (::mount(source, dir.c_str(), type, flags, options.empty() ? nullptr : options.c_str()) != 0)
        throw std::runtime_error("cannot mount on " + dir + ": " + std::strerror(errno));
}

// Fills the file system holding dir until not one more byte fits.
void FillDisk(const std::string& dir) {
    for (int n = 0;; ++n) {
        const std::string path = dir + "/filler" + std::to_string(n);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0)
            return;
        static const std::string block(4096, 'x');
        ssize_t wrote = 0;
        while ((wrote = ::write(fd, block.data(), block.size())) > 0) {
        }
        // a last partial block
        while (::write(fd, "x", 1) == 1) {
        }
        ::close(fd);
        if (wrote < 0 && errno == ENOSPC && n > 0)
            return;
    }
}

// The windows need an application object and the toolkit allows only one
// per process. The private mounts come first.
class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        EnterPrivateMountNamespace();
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<BrimloApplication>(argc_, argv_, prompt_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "test_crash";
    char* argv_[2] = {name_, nullptr};
    testing::InstalledPrompt prompt_;
    std::unique_ptr<BrimloApplication> app_;
};

[[maybe_unused]] auto* const environment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

class FaultInjection : public ::testing::Test {
protected:
    void SetUp() override {
        if (!mountsUnavailable.empty())
            GTEST_SKIP() << "no private mounts here (" << mountsUnavailable
                         << "): a full disk and a read-only directory cannot be made";
        for (const std::string& d : {appDir, goodDir, badDir})
            fs::create_directories(d);
    }

    void TearDown() override {
        if (main_) {
            if (TfrmDataEntry* load = ActiveLoadWindow(*main_); load && load->hasDocument())
                load->document().flags().Modified = false;
            main_.reset();
        }
        for (const std::string& d : mounted_)
            ::umount2(d.c_str(), MNT_DETACH);
    }

    void mountSmallDisk(const std::string& dir, size_t bytes) {
        MountOrThrow("brimlo-small", dir, "tmpfs", 0, "size=" + std::to_string(bytes));
        mounted_.push_back(dir);
    }
    // dir read-only over itself
    void makeReadOnly(const std::string& dir) {
        MountOrThrow(dir.c_str(), dir, nullptr, MS_BIND);
        MountOrThrow(nullptr, dir, nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY);
        mounted_.push_back(dir);
    }

    void start() {
        WriteDefaults(appDir);
        main_ = StartScriptedMain(
            appDir, {[this] { return saveTarget; }, [this] { return exportTarget; }}, prompt);
    }

    TfrmDataEntry& window() { return *ActiveLoadWindow(*main_); }

    // A new load with two logs keyed on its log page.
    void newLoadWithTwoLogs() {
        command("mnuNewLoad");
        ASSERT_NE(ActiveLoadWindow(*main_), nullptr);
        QTest::keyClick(window().focusedControl(), Qt::Key_F6);
        keyLog(30, 20, 40);
        keyLog(32, 22, 42);
    }

    // A new load with two logs, saved to a good place, which posts it.
    void startWithASavedLoad() {
        start();
        newLoadWithTwoLogs();
        saveTarget = goodDir + "AB.txt";
        command("mnuSave");
        ASSERT_EQ(masterLogs(), 2);
    }

    void keyLog(int butt, int top, int length) { KeyLogAndAppend(window(), butt, top, length); }

    void command(const char* name) { main_->action(name)->trigger(); }
    void saveAs(const std::string& target) {
        saveTarget = target;
        command("mnuSaveAs");
    }
    void exportRefused(const std::string& dir) {
        exportTarget = dir + "master.out";
        prompt.expect("Error: Unable to write to file: '" + exportTarget + "'.");
        command("mnuMasterASCII");
    }
    void newLoadRefused() {
        prompt.expect("Cannot create table '" + appDir + "Log2.db': unable to open database file.");
        command("mnuNewLoad");
    }

    // The master record of the load as the program would read it next time.
    int masterLogs() {
        const auto rows = ParadoxTable::open(appDir + "master.db")->readAll();
        return rows.size() == 1 ? rows[0].values[kMasterTotalLogs].asInt() : -1;
    }
    // The load file written holds the four logs (three keyed, one appended),
    // and the master record the three with a volume.
    void expectSavedWithTheThirdLog() {
        EXPECT_EQ(LogLinesIn(Contents(saveTarget)), 4);
        EXPECT_EQ(masterLogs(), 3);
    }
    // master.db reads the same through our reader and pxlib, one record.
    void expectMasterWhole() {
        std::vector<std::string> problems;
        EXPECT_EQ(ReadMasterBothWays(appDir + "master.db", problems).size(), 1u);
        EXPECT_EQ(problems, std::vector<std::string>{});
    }
    size_t workspaceLogs() { return SqliteStore::open(appDir + "Log1.db")->readAll().size(); }
    std::string masterRefused(const std::string& why, const std::string& error) {
        return "Table '" + appDir + "master.db' cannot " + why + " its journal " + appDir +
               "master.db-journal: " + error + ".";
    }
    std::string masterRemoved() {
        return "Table '" + appDir +
               "master.db' has been removed or moved: " + std::strerror(ENOENT) + ".";
    }
    static std::string Contents(const std::string& path) {
        return ReadWhole(path).value_or("(missing)");
    }

    testing::TempDir temp;
    const std::string appDir = (temp.path() / "appdata").string() + "/";
    const std::string goodDir = (temp.path() / "good").string() + "/";
    const std::string badDir = (temp.path() / "bad").string() + "/";
    std::string saveTarget, exportTarget;
    std::unique_ptr<TfrmMain> main_;
    std::vector<std::string> mounted_;
    ScriptedPrompt prompt;
};

const std::string kNoSpace = std::strerror(ENOSPC);
const std::string kReadOnly = std::strerror(EROFS);

TEST_F(FaultInjection, AFullDiskKeepsTheOldLoadFileAndExportAndTheWindowGoesOn) {
    mountSmallDisk(badDir, 256 * 1024);
    WriteSynced(badDir + "AB.txt", "the load as saved last week");
    WriteSynced(badDir + "master.out", "last week's export");
    FillDisk(badDir);
    start();
    newLoadWithTwoLogs();

    saveTarget = badDir + "AB.txt";
    prompt.expect("Error: File '" + saveTarget + "' cannot be written: " + kNoSpace);
    command("mnuSave");
    exportRefused(badDir);
    EXPECT_EQ(Contents(badDir + "AB.txt"), "the load as saved last week");
    EXPECT_EQ(Contents(badDir + "master.out"), "last week's export");
    EXPECT_FALSE(fs::exists(badDir + "SAMPLWT.dbf"));
    EXPECT_EQ(RemoveStagingDebris(badDir), 0);

    // The window still keys, and Save As to a good place writes the load.
    keyLog(50, 40, 60);
    saveAs(goodDir + "AB.txt");
    expectSavedWithTheThirdLog();
    exportTarget = goodDir + "master.out";
    prompt.expect("Files:\n" + exportTarget + "\n" + goodDir + "SAMPLWT.dbf\n" + goodDir +
                  "SAMPLVOL.dbf\nwere generated successfully.");
    command("mnuMasterASCII");
    EXPECT_EQ(DbaseProblem(goodDir + "SAMPLWT.dbf"), "");
}

TEST_F(FaultInjection, AFullDataDiskRefusesLogAndMasterPostsAndLosesNothing) {
    mountSmallDisk(appDir, 1024 * 1024);
    startWithASavedLoad();
    const std::string masterBefore = Contents(appDir + "master.db");
    FillDisk(appDir);

    const std::string refusal =
        "Cannot write table '" + appDir + "Log1.db': database or disk is full.";
    prompt.expect(refusal);
    keyLog(50, 40, 60);
    // A save posts the log first: while that is refused the load file stays
    // as it was. The master post is refused as well.
    const std::string loadBefore = Contents(saveTarget);
    prompt.expect(refusal).expect(masterRefused("write", kNoSpace));
    command("mnuSave");
    EXPECT_EQ(Contents(saveTarget), loadBefore);
    expectMasterWhole();
    EXPECT_EQ(Contents(appDir + "master.db"), masterBefore);
    exportRefused(appDir);
    EXPECT_EQ(RemoveStagingDebris(appDir), 0);

    // With room again the next log and the next post go through.
    for (const auto& entry : fs::directory_iterator(appDir))
        if (entry.path().filename().string().rfind("filler", 0) == 0)
            fs::remove(entry.path());
    keyLog(52, 40, 60);
    command("mnuSave");
    expectSavedWithTheThirdLog();
    EXPECT_EQ(workspaceLogs(), 4u);
}

TEST_F(FaultInjection, AReadOnlyDataDirectoryRefusesWritesThereAndTheWindowGoesOn) {
    startWithASavedLoad();
    const std::string masterBefore = Contents(appDir + "master.db");
    makeReadOnly(appDir);

    // The open workspace keeps its files: the log is posted.
    keyLog(50, 40, 60);
    EXPECT_EQ(workspaceLogs(), 4u);
    prompt.expect(masterRefused("start", kReadOnly));
    command("mnuSave");
    EXPECT_EQ(LogLinesIn(Contents(saveTarget)), 4);
    prompt.expect("Error: Unable to open file: " + appDir + "AB.txt")
        .expect(masterRefused("start", kReadOnly));
    saveAs(appDir + "AB.txt");
    exportRefused(appDir);
    newLoadRefused();
    EXPECT_EQ(Contents(appDir + "master.db"), masterBefore);

    // The first load's window is still there and saves to a good place.
    ASSERT_NE(ActiveLoadWindow(*main_), nullptr);
    ::umount2(appDir.c_str(), MNT_DETACH);
    expectMasterWhole(); // pxlib opens for writing too
    saveAs(goodDir + "AB2.txt");
    expectSavedWithTheThirdLog();
}

TEST_F(FaultInjection, ADataDirectoryRemovedWhileRunningIsToldAndTheLoadStillSaves) {
    startWithASavedLoad();
    fs::remove_all(appDir);

    const std::string gone =
        "Cannot write table '" + appDir + "Log1.db': the file has been removed or moved.";
    prompt.expect(gone);
    keyLog(50, 40, 60);
    // The save posts the log first and is refused with it.
    const std::string loadBefore = Contents(saveTarget);
    prompt.expect(gone).expect(masterRemoved());
    command("mnuSave");
    EXPECT_EQ(Contents(saveTarget), loadBefore);
    // the export reads the master first, and finds it gone
    prompt.expect(masterRemoved());
    command("mnuMasterASCII");
    newLoadRefused();

    // Esc lets go of the log that cannot be posted; Save As to a good place
    // then writes every log posted before.
    ASSERT_NE(ActiveLoadWindow(*main_), nullptr);
    QTest::keyClick(window().focusedControl(), Qt::Key_Escape);
    prompt.expect(masterRemoved());
    saveAs(goodDir + "AB2.txt");
    EXPECT_EQ(Contents(saveTarget), Contents(goodDir + "AB.txt"));
}

} // namespace
} // namespace brimlo::crash
