#include "CrashModel.h"

#include "AckLog.h"

#include <sstream>
#include <utility>

namespace brimlo::crash {

int LogLinesIn(const std::string& loadFile) {
    constexpr size_t kHeaderLine = 201, kLogLine = 54;
    if (loadFile.size() < kHeaderLine || (loadFile.size() - kHeaderLine) % kLogLine != 0)
        return -1;
    return static_cast<int>((loadFile.size() - kHeaderLine) / kLogLine);
}

void CrashModel::takeRun(const std::vector<std::string>& lines) {
    runLogs.clear();
    runProblems.clear();
    pendingLoad.reset();
    pendingLogs.clear();
    pendingExport.reset();
    for (const std::string& line : lines) {
        const size_t space = line.find(' ');
        take(line.substr(0, space), space == std::string::npos ? "" : line.substr(space + 1));
    }
    interruptedSaves += pendingLoad ? 1 : 0;
    interruptedExports += pendingExport ? 1 : 0;
}

void CrashModel::take(const std::string& verb, const std::string& rest) {
    std::istringstream in(rest);
    int round = 0;
    if (verb == "READY" || (verb == "BOX" && rest.rfind("Files:", 0) == 0)) {
        // started, or the export's success message
    } else if (verb == "NEWLOAD") {
        in >> loadNumber_;
    } else if (verb == "LOG") {
        AckedLog log;
        in >> log.number >> log.butt >> log.top >> log.length;
        runLogs.push_back(log);
        ++logsAcked;
    } else if (verb == "SAVING") {
        std::string expectedFile;
        in >> round >> expectedFile;
        pendingLoad = ReadWhole(expectedFile).value_or("");
        // the master record counts the logs with a volume: the keyed ones,
        // not the empty one '+' appended last
        pendingLogs[loadNumber_] = static_cast<int>(runLogs.size());
    } else if (verb == "SAVED") {
        savedLoad = std::exchange(pendingLoad, std::nullopt);
        postedLogs[loadNumber_] = pendingLogs[loadNumber_];
        pendingLogs.clear();
        ++savesAcked;
    } else if (verb == "EXPORTING") {
        int records = 0;
        in >> round >> records;
        pendingExport = records;
    } else if (verb == "EXPORTED") {
        exportedRecords = std::exchange(pendingExport, std::nullopt);
        ++exportsAcked;
    } else {
        runProblems.push_back(verb + " " + rest);
    }
}

} // namespace brimlo::crash
