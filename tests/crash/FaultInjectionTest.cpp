// Writes that fail under the program: a full disk, a read-only data
// directory, a data directory removed while the program runs. Each failing
// save, post, export and log post tells the user what happened, loses
// nothing already written, and leaves the window working: a later save to
// a good place succeeds.
#include "AckLog.h"
#include "CrashModel.h"
#include "PrivateMounts.h"
#include "ScriptedWindows.h"
#include "StateChecks.h"
#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "load/LoadDocument.h"
#include "master/MainTables.h"
#include "master/MasterFields.h"
#include "rules/Cglobals.h"
#include "shell/TfrmDataEntry.h"
#include "shell/TfrmMain.h"
#include "support/Dataset.h"
#include "support/ParadoxTable.h"
#include "support/SqliteStore.h"

#include <QAction>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>

namespace brimlo::crash {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedPrompt;

class FaultInjection : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string why = PrivateMountsUnavailable(); !why.empty())
            GTEST_SKIP() << "no private mounts here (" << why
                         << "): a full disk and a read-only directory cannot be made";
        appDir = (temp.path() / "appdata").string() + "/";
        goodDir = (temp.path() / "good").string() + "/";
        badDir = (temp.path() / "bad").string() + "/";
        for (const std::string& d : {appDir, goodDir, badDir})
            fs::create_directories(d);
        RestartWorkspaceNumbers();
    }

    void TearDown() override {
        EXPECT_TRUE(prompt.allExpectedShown()) << "a box expected was not shown";
        if (HasFailure())
            for (const auto& box : prompt.shown())
                std::cout << "box shown: [" << box.caption << "] " << box.text << "\n";
        if (main_) {
            if (TfrmDataEntry* load = ActiveLoadWindow(*main_); load && load->hasDocument())
                load->document().flags().Modified = false;
            main_.reset();
        }
        for (const std::string& d : mounted_)
            Unmount(d);
    }

    void mountSmallDisk(const std::string& dir, size_t bytes) {
        MountSmallDisk(dir, bytes);
        mounted_.push_back(dir);
    }
    void makeReadOnly(const std::string& dir) {
        MakeReadOnly(dir);
        mounted_.push_back(dir);
    }

    void start() {
        WriteDefaults(appDir);
        DialogAnswers answers{[this] { return saveTarget; }, [this] { return exportTarget; }};
        MainWindowHooks hooks = ScriptedWindowHooks(answers);
        hooks.settings.setAppDataDirectory(appDir);
        hooks.prompt = &prompt;
        main_ = std::make_unique<TfrmMain>(std::move(hooks));
        ShowActive(*main_);
    }

    TfrmMain& main() { return *main_; }
    TfrmDataEntry& window() { return *ActiveLoadWindow(*main_); }
    Dataset& log() { return window().document().log(); }

    // A new load with logs keyed on its log page.
    void newLoadWithLogs(int logs) {
        main().action("mnuNewLoad")->trigger();
        ASSERT_NE(ActiveLoadWindow(main()), nullptr);
        QTest::keyClick(window().focusedControl(), Qt::Key_F6);
        for (int i = 0; i < logs; ++i)
            keyLog(30 + 2 * i, 20 + 2 * i, 40 + 2 * i);
    }

    // A new load with two logs, saved to a good place, which posts it.
    void startWithASavedLoad() {
        start();
        newLoadWithLogs(2);
        saveTarget = goodDir + "AB.txt";
        command("mnuSave");
        ASSERT_EQ(masterLogs(), 2);
    }

    void keyLog(int butt, int top, int length) {
        KeyLog(window(), butt, top, length);
        KeyAppend(window());
    }

    void command(const char* name) { main().action(name)->trigger(); }

    // The master record of the load as the program would read it next time.
    int masterLogs() {
        const auto rows = ParadoxTable::open(appDir + "master.db")->readAll();
        return rows.size() == 1 ? rows[0].values[kMasterTotalLogs].asInt() : -1;
    }

    testing::TempDir temp;
    std::string appDir, goodDir, badDir;
    std::string saveTarget, exportTarget;
    std::unique_ptr<TfrmMain> main_;
    std::vector<std::string> mounted_;
    ScriptedPrompt prompt;
};

const std::string kNoSpace = std::strerror(ENOSPC);
const std::string kReadOnly = std::strerror(EROFS);
std::string UnableToExport(const std::string& file) {
    return "Error: Unable to write to file: '" + file + "'.";
}

std::string MasterRefused(const std::string& appDir, const std::string& why) {
    return "Table '" + appDir + "master.db' cannot " + why + " its journal " + appDir +
           "master.db-journal: ";
}

std::string MasterRemoved(const std::string& appDir) {
    return "Table '" + appDir + "master.db' has been removed or moved: " + std::strerror(ENOENT) +
           ".";
}

std::string Contents(const std::string& path) {
    std::string bytes;
    return ReadWhole(path, bytes) ? bytes : "(missing)";
}

TEST_F(FaultInjection, AFullDiskKeepsTheOldLoadFileAndExportAndTheWindowGoesOn) {
    mountSmallDisk(badDir, 256 * 1024);
    WriteSynced(badDir + "AB.txt", "the load as saved last week");
    WriteSynced(badDir + "master.out", "last week's export");
    FillDisk(badDir);
    start();
    newLoadWithLogs(2);

    saveTarget = badDir + "AB.txt";
    prompt.expect("Error: File '" + saveTarget + "' cannot be written: " + kNoSpace);
    command("mnuSave");
    exportTarget = badDir + "master.out";
    prompt.expect(UnableToExport(exportTarget));
    command("mnuMasterASCII");
    EXPECT_EQ(Contents(badDir + "AB.txt"), "the load as saved last week");
    EXPECT_EQ(Contents(badDir + "master.out"), "last week's export");
    EXPECT_FALSE(fs::exists(badDir + "SAMPLWT.dbf"));
    EXPECT_EQ(RemoveStagingDebris(badDir), 0);

    // The window still keys, and Save As to a good place writes the load.
    keyLog(50, 40, 60);
    EXPECT_EQ(log().recordCount(), 4);
    saveTarget = goodDir + "AB.txt";
    command("mnuSaveAs");
    EXPECT_EQ(LogLinesIn(Contents(saveTarget)), 4); // three keyed, one appended
    EXPECT_EQ(masterLogs(), 3);
    exportTarget = goodDir + "master.out";
    prompt.expect("Files:\n" + exportTarget + "\n" + goodDir + "SAMPLWT.dbf\n" + goodDir +
                  "SAMPLVOL.dbf\nwere generated successfully.");
    command("mnuMasterASCII");
    EXPECT_EQ(DbaseProblem(goodDir + "SAMPLWT.dbf"), "");
    EXPECT_EQ(prompt.shown().size(), 3u);
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
    prompt.expect(refusal).expect(MasterRefused(appDir, "write") + kNoSpace + ".");
    command("mnuSave");
    EXPECT_EQ(Contents(saveTarget), loadBefore);
    std::vector<std::string> problems;
    EXPECT_EQ(ReadMasterBothWays(appDir + "master.db", problems).size(), 1u);
    EXPECT_EQ(problems, std::vector<std::string>{});
    EXPECT_EQ(Contents(appDir + "master.db"), masterBefore);
    exportTarget = appDir + "master.out";
    prompt.expect(UnableToExport(exportTarget));
    command("mnuMasterASCII");
    EXPECT_EQ(RemoveStagingDebris(appDir), 0);

    // With room again the next log and the next post go through.
    for (const auto& entry : fs::directory_iterator(appDir))
        if (entry.path().filename().string().rfind("filler", 0) == 0)
            fs::remove(entry.path());
    keyLog(52, 40, 60);
    command("mnuSave");
    EXPECT_EQ(masterLogs(), 3);
    EXPECT_EQ(LogLinesIn(Contents(saveTarget)), 4);
    EXPECT_EQ(prompt.shown().size(), 4u);
    const auto logs = SqliteStore::open(appDir + "Log1.db")->readAll();
    EXPECT_EQ(logs.size(), 4u);
}

TEST_F(FaultInjection, AReadOnlyDataDirectoryRefusesWritesThereAndTheWindowGoesOn) {
    startWithASavedLoad();
    const std::string masterBefore = Contents(appDir + "master.db");
    makeReadOnly(appDir);

    // The open workspace keeps its files: the log is posted.
    keyLog(50, 40, 60);
    EXPECT_EQ(SqliteStore::open(appDir + "Log1.db")->readAll().size(), 4u);
    prompt.expect(MasterRefused(appDir, "start") + kReadOnly + ".");
    command("mnuSave");
    EXPECT_EQ(LogLinesIn(Contents(saveTarget)), 4);
    saveTarget = appDir + "AB.txt";
    prompt.expect("Error: Unable to open file: " + saveTarget)
        .expect(MasterRefused(appDir, "start") + kReadOnly + ".");
    command("mnuSaveAs");
    exportTarget = appDir + "master.out";
    prompt.expect(UnableToExport(exportTarget));
    command("mnuMasterASCII");
    prompt.expect("Cannot create table '" + appDir + "Log2.db': unable to open database file.");
    command("mnuNewLoad");
    EXPECT_EQ(Contents(appDir + "master.db"), masterBefore);

    // The first load's window is still there and saves to a good place.
    ASSERT_NE(ActiveLoadWindow(main()), nullptr);
    Unmount(appDir);
    std::vector<std::string> problems; // pxlib opens for writing too
    EXPECT_EQ(ReadMasterBothWays(appDir + "master.db", problems).size(), 1u);
    EXPECT_EQ(problems, std::vector<std::string>{});
    saveTarget = goodDir + "AB2.txt";
    command("mnuSaveAs");
    EXPECT_EQ(LogLinesIn(Contents(saveTarget)), 4);
    EXPECT_EQ(masterLogs(), 3);
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
    prompt.expect(gone).expect(MasterRemoved(appDir));
    command("mnuSave");
    EXPECT_EQ(Contents(saveTarget), loadBefore);
    // the export reads the master first, and finds it gone
    prompt.expect(MasterRemoved(appDir));
    command("mnuMasterASCII");
    prompt.expect("Cannot create table '" + appDir + "Log2.db': unable to open database file.");
    command("mnuNewLoad");

    // Esc lets go of the log that cannot be posted; Save As to a good place
    // then writes every log posted before.
    ASSERT_NE(ActiveLoadWindow(main()), nullptr);
    QTest::keyClick(window().focusedControl(), Qt::Key_Escape);
    saveTarget = goodDir + "AB2.txt";
    prompt.expect(MasterRemoved(appDir));
    command("mnuSaveAs");
    EXPECT_EQ(Contents(saveTarget), Contents(goodDir + "AB.txt"));
}

} // namespace
} // namespace brimlo::crash
