#include "CrashModel.h"

#include "AckLog.h"

#include <sstream>

namespace brimlo::crash {

int LogLinesIn(const std::string& loadFile) {
    constexpr size_t kHeaderLine = 201, kLogLine = 54;
    if (loadFile.size() < kHeaderLine || (loadFile.size() - kHeaderLine) % kLogLine != 0)
        return -1;
    return static_cast<int>((loadFile.size() - kHeaderLine) / kLogLine);
}

void CrashModel::settleLoad(const std::string& bytesOnDisk) {
    if (pendingLoad && bytesOnDisk == *pendingLoad)
        savedLoad = pendingLoad;
}

void CrashModel::settlePost(int loadNumber, int logsOnDisk) {
    const auto pending = pendingLogs.find(loadNumber);
    if (pending != pendingLogs.end() && pending->second == logsOnDisk)
        postedLogs[loadNumber] = logsOnDisk;
}

void CrashModel::settleExport(int recordsOnDisk) {
    if (pendingExport && *pendingExport == recordsOnDisk)
        exportedRecords = pendingExport;
}

void CrashModel::settled() {
    pendingLoad.reset();
    pendingLogs.clear();
    pendingExport.reset();
}

void CrashModel::takeRun(const std::vector<std::string>& lines) {
    runLogs.clear();
    runProblems.clear();
    settled();
    for (const std::string& line : lines) {
        const size_t space = line.find(' ');
        take(line.substr(0, space), space == std::string::npos ? "" : line.substr(space + 1));
    }
    if (pendingLoad)
        ++interruptedSaves;
    if (pendingExport)
        ++interruptedExports;
}

void CrashModel::take(const std::string& verb, const std::string& rest) {
    std::istringstream in(rest);
    if (verb == "READY") {
        // started: the work follows
    } else if (verb == "NEWLOAD") {
        in >> loadNumber_;
    } else if (verb == "LOG") {
        AckedLog log;
        in >> log.number >> log.butt >> log.top >> log.length;
        runLogs.push_back(log);
        ++logsAcked;
    } else if (verb == "SAVING") {
        int round = 0;
        std::string expectedFile, bytes;
        in >> round >> expectedFile;
        ReadWhole(expectedFile, bytes);
        pendingLoad = bytes;
        // the master record counts the logs with a volume: the keyed ones,
        // not the empty one '+' appended last
        pendingLogs[loadNumber_] = static_cast<int>(runLogs.size());
    } else if (verb == "SAVED") {
        savedLoad = pendingLoad;
        postedLogs[loadNumber_] = pendingLogs[loadNumber_];
        pendingLoad.reset();
        pendingLogs.clear();
        ++savesAcked;
    } else if (verb == "EXPORTING") {
        int round = 0, records = 0;
        in >> round >> records;
        pendingExport = records;
    } else if (verb == "EXPORTED") {
        exportedRecords = pendingExport;
        pendingExport.reset();
        ++exportsAcked;
    } else if (verb == "BOX" && rest.rfind("Files:", 0) == 0) {
        // the export's success message
    } else {
        runProblems.push_back(verb + " " + rest);
    }
}

} // namespace brimlo::crash
