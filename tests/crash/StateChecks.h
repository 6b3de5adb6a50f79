#pragma once

#include "support/TableStore.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace brimlo::crash {

// A log the keying process said was posted to its workspace.
struct AckedLog {
    int number = 0;
    int butt = 0, top = 0, length = 0;
};

// What the driver knows from the acknowledgements of every run so far:
// what must have survived, and what may or may not have. The checks of a
// run make the interrupted work they find on disk what later runs must keep.
struct CrashModel {
    // Takes in one killed run's acknowledgement lines.
    void takeRun(const std::vector<std::string>& lines);

    // Logs of the last run the workspace must give back.
    std::vector<AckedLog> runLogs;
    // A refusal or an error box of the last run, or its own complaint.
    std::vector<std::string> runProblems;
    // The load file's bytes after the last finished save, and those of the
    // save under way when the process was killed.
    std::optional<std::string> savedLoad, pendingLoad;
    // Logs in the master record of each posted load: after the last
    // finished post, and of the post under way.
    std::map<int, int> postedLogs, pendingLogs;
    // Master records in the last finished export, and in the one under way.
    std::optional<int> exportedRecords, pendingExport;

    int logsAcked = 0, savesAcked = 0, exportsAcked = 0;
    int interruptedSaves = 0, interruptedExports = 0;

private:
    void take(const std::string& verb, const std::string& rest);
    int loadNumber_ = 0;
};

// Logs in a load file: 54-byte log lines before the 201-byte header line.
int LogLinesIn(const std::string& loadFile);

// The checks of what the next start of the program would find after a
// kill. Each answers the problems it found, empty when all is well, and
// settles in the model the version of the interrupted work the files hold.

// master.db: opened as the program opens it (which rolls back a journal
// left by the kill), then read by pxlib as another program would; both
// must see the same records, every finished post and no torn record.
std::vector<std::string> CheckMaster(const std::string& masterPath, CrashModel& model);

// master.db's records through our reader; pxlib must read the same.
std::vector<StoredRow> ReadMasterBothWays(const std::string& masterPath,
                                          std::vector<std::string>& problems);

// The load file is the last saved version or the one being saved, whole.
std::vector<std::string> CheckLoadFile(const std::string& loadFile, CrashModel& model);

// The master ASCII file and the two sample tables beside it are absent or
// complete.
std::vector<std::string> CheckExport(const std::string& asciiFile, CrashModel& model);

// Takes over the workspace the killed run left, as the next start does
// (a box it shows fails the test), compares its logs with the acknowledged
// ones, and then lets it go. A workspace the kill caught while it was being
// made cannot be taken over; its files are removed as the next start's "No"
// would, and counted in unfinished.
std::vector<std::string> CheckAndReleaseWorkspace(const std::string& dataDir,
                                                  const CrashModel& model, int& unfinished);

// The scaler's own defaults in the data directory, so that a new load
// passes the save checks.
void WriteDefaults(const std::string& dataDir);

// Removes the temporary files killed saves left beside their targets and
// answers how many there were.
int RemoveStagingDebris(const std::string& dir);

// Whole-file check of a dBase table: the header's record count and sizes
// agree with the file's length.
std::string DbaseProblem(const std::string& path);

} // namespace brimlo::crash
