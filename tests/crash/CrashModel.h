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
// what must have survived, and what may or may not have.
class CrashModel {
public:
    // Takes in one killed run's acknowledgement lines.
    void takeRun(const std::vector<std::string>& lines);

    // After the checks of a run: what the kill left of the work under way
    // is, from now on, what later runs must keep.
    void settleLoad(const std::string& bytesOnDisk);
    void settlePost(int loadNumber, int logsOnDisk);
    void settleExport(int recordsOnDisk);
    void settled();

    // Logs of the last run the workspace must give back.
    const std::vector<AckedLog>& runLogs() const { return runLogs_; }
    bool runStarted() const { return runStarted_; }
    // A refusal or an error box of the last run, or its own complaint.
    const std::vector<std::string>& runProblems() const { return runProblems_; }

    // The load file's bytes after the last finished save, and those of the
    // save under way when the process was killed.
    const std::optional<std::string>& savedLoad() const { return savedLoad_; }
    const std::optional<std::string>& pendingLoad() const { return pendingLoad_; }

    // Logs in the master record of each posted load: after the last
    // finished post, and of the post under way.
    const std::map<int, int>& postedLogs() const { return postedLogs_; }
    const std::map<int, int>& pendingLogs() const { return pendingLogs_; }

    // Master records in the last finished export, and in the one under way.
    const std::optional<int>& exportedRecords() const { return exported_; }
    const std::optional<int>& pendingExport() const { return pendingExport_; }

    int logsAcked() const { return logsAcked_; }
    int savesAcked() const { return savesAcked_; }
    int exportsAcked() const { return exportsAcked_; }
    int interruptedSaves() const { return interruptedSaves_; }
    int interruptedExports() const { return interruptedExports_; }

private:
    void take(const std::string& verb, const std::string& rest);

    std::vector<AckedLog> runLogs_;
    std::vector<std::string> runProblems_;
    bool runStarted_ = false;
    int loadNumber_ = 0;
    std::optional<std::string> savedLoad_, pendingLoad_;
    std::map<int, int> postedLogs_, pendingLogs_;
    std::optional<int> exported_, pendingExport_;
    int logsAcked_ = 0, savesAcked_ = 0, exportsAcked_ = 0;
    int interruptedSaves_ = 0, interruptedExports_ = 0;
};

// Logs in a load file: 54-byte log lines before the 201-byte header line.
int LogLinesIn(const std::string& loadFile);

} // namespace brimlo::crash
