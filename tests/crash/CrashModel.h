#pragma once

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

} // namespace brimlo::crash
