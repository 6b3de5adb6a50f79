#include "CrashModel.h"

#include "AckLog.h"

#include <sstream>

namespace brimlo::crash {

namespace {

constexpr const char* kExportMessageStart = "Files:";

} // namespace

int LogLinesIn(const std::string& loadFile) {
    constexpr size_t kHeaderLine = 201, kLogLine = 54;
    if (loadFile.size() < kHeaderLine || (loadFile.size() - kHeaderLine) % kLogLine != 0)
        return -1;
    return static_cast<int>((loadFile.size() - kHeaderLine) / kLogLine);
}

void CrashModel::settleLoad(const std::string& bytesOnDisk) {
    if (pendingLoad_ && bytesOnDisk == *pendingLoad_)
        savedLoad_ = pendingLoad_;
}

void CrashModel::settlePost(int loadNumber, int logsOnDisk) {
    const auto pending = pendingLogs_.find(loadNumber);
    if (pending != pendingLogs_.end() && pending->second == logsOnDisk)
        postedLogs_[loadNumber] = logsOnDisk;
}

void CrashModel::settleExport(int recordsOnDisk) {
    if (pendingExport_ && *pendingExport_ == recordsOnDisk)
        exported_ = pendingExport_;
}

void CrashModel::settled() {
    pendingLoad_.reset();
    pendingLogs_.clear();
    pendingExport_.reset();
}

void CrashModel::takeRun(const std::vector<std::string>& lines) {
    runLogs_.clear();
    runProblems_.clear();
    runStarted_ = false;
    pendingLoad_.reset();
    pendingLogs_.clear();
    pendingExport_.reset();
    for (const std::string& line : lines) {
        const size_t space = line.find(' ');
        take(line.substr(0, space), space == std::string::npos ? "" : line.substr(space + 1));
    }
    if (pendingLoad_)
        ++interruptedSaves_;
    if (pendingExport_)
        ++interruptedExports_;
}

void CrashModel::take(const std::string& verb, const std::string& rest) {
    std::istringstream in(rest);
    if (verb == "READY") {
        runStarted_ = true;
    } else if (verb == "NEWLOAD") {
        in >> loadNumber_;
    } else if (verb == "LOG") {
        AckedLog log;
        in >> log.number >> log.butt >> log.top >> log.length;
        runLogs_.push_back(log);
        ++logsAcked_;
    } else if (verb == "SAVING") {
        int round = 0;
        std::string expectedFile, bytes;
        in >> round >> expectedFile;
        ReadWhole(expectedFile, bytes);
        pendingLoad_ = bytes;
        // the master record counts the logs with a volume: the keyed ones,
        // not the empty one '+' appended last
        pendingLogs_[loadNumber_] = static_cast<int>(runLogs_.size());
    } else if (verb == "SAVED") {
        savedLoad_ = pendingLoad_;
        postedLogs_[loadNumber_] = pendingLogs_[loadNumber_];
        pendingLoad_.reset();
        pendingLogs_.clear();
        ++savesAcked_;
    } else if (verb == "EXPORTING") {
        int round = 0, records = 0;
        in >> round >> records;
        pendingExport_ = records;
    } else if (verb == "EXPORTED") {
        exported_ = pendingExport_;
        pendingExport_.reset();
        ++exportsAcked_;
    } else if (verb == "BOX" && rest.rfind(kExportMessageStart, 0) == 0) {
        // the export's success message
    } else {
        runProblems_.push_back(verb + " " + rest);
    }
}

} // namespace brimlo::crash
