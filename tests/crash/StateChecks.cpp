#include "StateChecks.h"

#include "AckLog.h"
#include "common/ScriptedPrompt.h"
#include "common/TypicalDefaults.h"
#include "load/LoadDocument.h"
#include "load/LoadWorkspace.h"
#include "load/WorkspaceCounter.h"
#include "master/MasterFields.h"
#include "master/SampleTables.h"
#include "support/BrimloError.h"
#include "support/Dataset.h"
#include "support/DefaultsLayout.h"
#include "support/ParadoxReference.h"
#include "support/ParadoxTable.h"
#include "support/SqliteStore.h"
#include "support/WorkspaceFiles.h"

#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace brimlo::crash {

namespace fs = std::filesystem;

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

namespace {

// A record is whole when its group log counts add up to its total.
bool WholeRecord(const Record& values) {
    const int groups = values[kMasterNumGroups].asInt();
    if (groups < 0 || groups > 12)
        return false;
    int logs = 0;
    for (int g = 1; g <= groups; ++g)
        logs += values[static_cast<size_t>(MasterGroupFieldIndex(g, kGroupLogNums))].asInt();
    return logs == values[kMasterTotalLogs].asInt();
}

void CheckPosts(const std::vector<StoredRow>& rows, CrashModel& model,
                std::vector<std::string>& problems) {
    std::map<int, int> found; // load number -> records
    for (const StoredRow& row : rows) {
        const int load = row.values[kMasterLoadNum].asInt();
        const int total = row.values[kMasterTotalLogs].asInt();
        ++found[load];
        if (!WholeRecord(row.values))
            problems.push_back("master record of load " + std::to_string(load) + " is torn");
        const auto pending = model.pendingLogs.find(load);
        if (pending != model.pendingLogs.end() && pending->second == total)
            model.postedLogs[load] = total;
        else if (!model.postedLogs.contains(load) || model.postedLogs[load] != total)
            problems.push_back("master record of load " + std::to_string(load) + " holds " +
                               std::to_string(total) +
                               " logs, neither the posted nor the pending count");
    }
    for (const auto& [load, logs] : model.postedLogs)
        if (found[load] != 1)
            problems.push_back("posted load " + std::to_string(load) + " is in master.db " +
                               std::to_string(found[load]) + " times");
}

} // namespace

std::vector<StoredRow> ReadMasterBothWays(const std::string& masterPath,
                                          std::vector<std::string>& problems) {
    std::vector<StoredRow> rows;
    testing::PxContents px;
    try {
        rows = ParadoxTable::open(masterPath)->readAll();
        px = testing::PxRead(masterPath);
    } catch (const std::runtime_error& e) { // ours, or pxlib's
        problems.push_back(e.what());
        return rows;
    }
    if (px.fields.size() != kMasterFieldCount || px.records.size() != rows.size())
        problems.push_back("pxlib sees " + std::to_string(px.records.size()) + " records of " +
                           std::to_string(px.fields.size()) + " fields, we see " +
                           std::to_string(rows.size()));
    else
        for (size_t r = 0; r < rows.size(); ++r)
            if (px.records[r] != rows[r].values)
                problems.push_back("record " + std::to_string(r) +
                                   " differs between pxlib and our reader");
    return rows;
}

std::vector<std::string> CheckMaster(const std::string& masterPath, CrashModel& model) {
    std::vector<std::string> problems;
    if (!fs::exists(masterPath)) {
        if (!model.postedLogs.empty())
            problems.push_back("master.db is gone");
        return problems;
    }
    const std::vector<StoredRow> rows = ReadMasterBothWays(masterPath, problems);
    if (problems.empty())
        CheckPosts(rows, model, problems);
    return problems;
}

std::vector<std::string> CheckLoadFile(const std::string& loadFile, CrashModel& model) {
    const std::optional<std::string> bytes = ReadWhole(loadFile);
    if (!bytes)
        return model.savedLoad ? std::vector<std::string>{"the saved load file is gone"}
                               : std::vector<std::string>{};
    if (bytes == model.pendingLoad)
        model.savedLoad = bytes;
    if (bytes == model.savedLoad)
        return {};
    return {"the load file (" + std::to_string(bytes->size()) +
            " bytes) is neither the saved nor the pending version"};
}

std::string DbaseProblem(const std::string& path) {
    const std::string bytes = ReadWhole(path).value_or("");
    if (bytes.size() < 32)
        return path + " is missing or shorter than its header";
    auto number = [&](size_t at, size_t width) {
        uint32_t n = 0;
        for (size_t i = 0; i < width; ++i)
            n |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
        return n;
    };
    const uint64_t expected =
        uint64_t{number(8, 2)} + uint64_t{number(4, 4)} * uint64_t{number(10, 2)};
    if (bytes.size() != expected && bytes.size() != expected + 1)
        return path + " is " + std::to_string(bytes.size()) + " bytes, its header promises " +
               std::to_string(expected);
    return {};
}

std::vector<std::string> CheckExport(const std::string& asciiFile, CrashModel& model) {
    std::vector<std::string> problems;
    const std::string dir = fs::path(asciiFile).parent_path().string() + "/";
    const std::string bytes = ReadWhole(asciiFile).value_or("");
    if (!fs::exists(asciiFile)) {
        if (model.exportedRecords)
            problems.push_back("the exported ASCII file is gone");
        return problems;
    }
    int lines = 0;
    size_t width = 0;
    for (size_t start = 0, end; start < bytes.size(); start = end + 2, ++lines) {
        end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            problems.push_back("the ASCII file ends inside a line");
            break;
        }
        if (lines > 0 && end - start != width)
            problems.push_back("ASCII line " + std::to_string(lines + 1) + " is cut");
        width = end - start;
    }
    if (lines != model.exportedRecords.value_or(-1) && lines != model.pendingExport.value_or(-1))
        problems.push_back("the ASCII file has " + std::to_string(lines) +
                           " lines, neither the finished nor the pending export's count");
    for (const char* table : {kWeightSampleTable, kVolumeSampleTable})
        if (fs::exists(dir + table) || model.exportedRecords)
            if (std::string why = DbaseProblem(dir + table); !why.empty())
                problems.push_back(why);
    if (lines == model.pendingExport)
        model.exportedRecords = model.pendingExport;
    return problems;
}

namespace {

// Workspace numbers with any file (a header or log table, or a side file
// of one) in the directory.
std::set<int> WorkspaceNumbersIn(const std::string& dir) {
    static const std::regex workspaceFile(R"((Header|Log)(\d+).*)");
    std::set<int> numbers;
    std::smatch match;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (std::regex_match(name, match, workspaceFile))
            numbers.insert(std::stoi(match[2]));
    }
    return numbers;
}

void CompareLogs(LoadDocument& doc, const CrashModel& model, std::vector<std::string>& problems) {
    std::map<int, LogRecord> byNumber;
    for (const LogRecord& log : doc.BuildLoadData().logs)
        byNumber[log.LOGNUM] = log;
    for (const AckedLog& acked : model.runLogs) {
        const auto it = byNumber.find(acked.number);
        const bool lost = it == byNumber.end();
        if (lost || it->second.BUTTD != acked.butt || it->second.TOPD != acked.top ||
            it->second.LENGTH != acked.length)
            problems.push_back("posted log " + std::to_string(acked.number) +
                               (lost ? " is lost" : " came back changed"));
    }
}

// Takes the workspace over as the next start would; false when it cannot
// be (the kill came while it was being made).
bool TakeOverAndCompare(const std::string& dataDir, int n, const CrashModel& model,
                        std::vector<std::string>& problems) {
    const std::string header = dataDir + HeaderFileName(n);
    if (!fs::exists(header) || !fs::exists(dataDir + LogFileName(n)))
        return false;
    Dataset defaults(SqliteStore::open(dataDir + "defaults.db"));
    WorkspaceCounter counter;
    LoadEnvironment env;
    env.appDataDirectory = dataDir;
    env.defaults = &defaults;
    env.counter = &counter;
    env.prompt = &testing::CurrentPrompt();
    std::unique_ptr<LoadDocument> doc;
    try {
        doc = LoadDocument::TakeOverWorkspace(env, n, header);
    } catch (const BrimloError&) {
        return false;
    }
    if (!doc->hasLoad())
        return false;
    CompareLogs(*doc, model, problems);
    doc->Close();
    return true;
}

} // namespace

std::vector<std::string> CheckAndReleaseWorkspace(const std::string& dataDir,
                                                  const CrashModel& model, int& unfinished) {
    std::vector<std::string> problems;
    bool taken = false;
    for (const int n : WorkspaceNumbersIn(dataDir)) {
        if (TakeOverAndCompare(dataDir, n, model, problems)) {
            taken = true;
            continue;
        }
        // What a "No" to the next start's question, or nobody, leaves.
        ++unfinished;
        for (const std::string& table : {HeaderFileName(n), LogFileName(n)})
            DeleteWorkspaceFile(dataDir + table);
    }
    if (!taken && !model.runLogs.empty())
        problems.push_back("the workspace holding the posted logs is gone");
    return problems;
}

void WriteDefaults(const std::string& dataDir) {
    Dataset defaults(SqliteStore::create(dataDir + "defaults.db", DefaultsFields()));
    defaults.insert();
    for (const auto& [field, value] : testing::TypicalDefaults({{"DISP", "CTL"}}))
        defaults.setField(field, value);
    defaults.post();
}

int RemoveStagingDebris(const std::string& dir) {
    int removed = 0;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().filename().string().find(".~") != std::string::npos) {
            fs::remove(entry.path());
            ++removed;
        }
    return removed;
}

} // namespace brimlo::crash
