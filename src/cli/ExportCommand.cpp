#include "cli/ExportCommand.h"

#include "cli/CliPrompt.h"
#include "cli/DataFolder.h"
#include "cli/MasterChoice.h"
#include "cli/MasterRecordText.h"
#include "cli/OutputTarget.h"
#include "cli/ProgressBar.h"
#include "master/CMaster.h"
#include "master/MasterTable.h"
#include "master/ParadoxMasterExport.h"
#include "master/ParadoxMasterStore.h"
#include "master/PgMasterStore.h"
#include "master/SampleTables.h"
#include "support/BrimloError.h"
#include "support/LocalFileName.h"
#include "support/StagedFile.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

namespace brimlo::cli {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kChunk = 1 << 20;
const char* const kEmptyMasterText = "The master file contains no records.";

// Where CSV or JSON lines go: standard output for "-"; straight into a
// link or a file that is no regular file (a pipe, a device, /dev/stdout),
// which must not be replaced; otherwise a staged file renamed over its
// name when complete.
class RecordSink {
public:
    explicit RecordSink(const std::string& fileName) {
        std::error_code error;
        const fs::path path = LocalFileName(fileName);
        if (fileName == "-") {
            direct_ = stdout;
        } else if (fs::is_symlink(path, error) ||
                   (fs::exists(path, error) && !fs::is_regular_file(path, error))) {
            direct_ = std::fopen(path.c_str(), "wb");
            owned_ = direct_ != nullptr;
            if (!direct_)
                throw BrimloError("Cannot write to '" + fileName + "'");
        } else {
            staged_ = std::make_unique<StagedFile>(path);
        }
        name_ = fileName;
    }
    ~RecordSink() {
        if (owned_)
            std::fclose(direct_);
    }
    RecordSink(const RecordSink&) = delete;
    RecordSink& operator=(const RecordSink&) = delete;

    void write(const std::string& bytes) {
        if (staged_)
            staged_->write(bytes);
        else if (std::fwrite(bytes.data(), 1, bytes.size(), direct_) != bytes.size())
            throw BrimloError("Cannot write to '" + name_ + "'");
    }
    void commit() {
        if (staged_)
            staged_->commit();
        else if (std::fflush(direct_) != 0)
            throw BrimloError("Cannot write to '" + name_ + "'");
    }

private:
    std::unique_ptr<StagedFile> staged_;
    std::FILE* direct_ = nullptr;
    bool owned_ = false;
    std::string name_;
};

// Formats each record the visit hands over, in order, into the file in
// chunks, so a big master is never held as one string.
void WriteVisited(const std::string& fileName, const std::string& heading, long count,
                  const std::function<void(const std::function<void()>&)>& visit,
                  const MasterFieldAt& fieldAt, std::string (*format)(const MasterFieldAt&)) {
    RecordSink file(fileName);
    std::string chunk = heading;
    ProgressBar progress("Exporting", count);
    visit([&] {
        chunk += format(fieldAt);
        if (chunk.size() >= kChunk) {
            file.write(chunk);
            chunk.clear();
        }
        progress.step();
    });
    file.write(chunk);
    file.commit();
}

// Every record in table order through format.
void WriteRecords(const std::string& fileName, const std::string& heading, MasterTable& table,
                  std::string (*format)(const MasterFieldAt&)) {
    const MasterFieldAt fieldAt = [&table](int index) -> const Value& {
        return table.field(index);
    };
    WriteVisited(
        fileName, heading, table.recordCount(),
        [&table](const std::function<void()>& each) { table.forEachKeepingPlace(each); }, fieldAt,
        format);
}

// The same from a server's master.
void WriteRecords(const std::string& fileName, const std::string& heading, MasterStore& store,
                  std::string (*format)(const MasterFieldAt&)) {
    const Record* current = nullptr;
    const MasterFieldAt fieldAt = [&current](int index) -> const Value& {
        return (*current)[static_cast<size_t>(index)];
    };
    WriteVisited(
        fileName, heading, store.count(),
        [&store, &current](const std::function<void()>& each) {
            store.forEach([&](const Record& record) {
                current = &record;
                each();
            });
        },
        fieldAt, format);
}

std::string DirectoryWithSlash(const std::string& directory) {
    return directory.empty() || directory.back() == '/' ? directory : directory + '/';
}

// The program's own two steps of its export, each on its own.
void WriteProgramFiles(const ParsedArguments& args, DataFolder& folder, MasterTable& table) {
    if (table.isEmpty())
        throw BrimloError(kEmptyMasterText);
    if (const std::optional<std::string> ascii = args.value("--ascii")) {
        RequireReplaceableFile(*ascii);
        CliPrompt prompt;
        CMaster master;
        if (!master.WriteMasterAscii(*ascii, table, folder.defaultSawlogs(), prompt)) {
            const std::vector<std::string> said = prompt.take();
            throw BrimloError(said.empty() ? "Cannot write '" + *ascii + "'" : said.front());
        }
    }
    if (const std::optional<std::string> dbase = args.value("--dbase"))
        WriteSampleTables(DirectoryWithSlash(*dbase), table);
}

// A server's master: the master ASCII file and the sample tables straight
// from the server.
void WriteServerFiles(const ParsedArguments& args, DataFolder& folder, MasterStore& store) {
    if (!args.has("--ascii") && !args.has("--dbase"))
        return;
    if (store.count() == 0)
        throw BrimloError(kEmptyMasterText);
    if (const std::optional<std::string> ascii = args.value("--ascii")) {
        RequireReplaceableFile(*ascii);
        CliPrompt prompt;
        CMaster master;
        if (!master.WriteMasterAscii(*ascii, store, folder.defaultSawlogs(), prompt)) {
            const std::vector<std::string> said = prompt.take();
            throw BrimloError(said.empty() ? "Cannot write '" + *ascii + "'" : said.front());
        }
    }
    if (const std::optional<std::string> dbase = args.value("--dbase"))
        WriteSampleTables(DirectoryWithSlash(*dbase), store);
}

void RunOnServer(const ParsedArguments& args, DataFolder& folder, const std::string& uri) {
    PgMasterStore store(uri);
    WriteServerFiles(args, folder, store);
    if (const std::optional<std::string> csv = args.value("--csv"))
        WriteRecords(*csv, MasterCsvHeader(), store, MasterCsvRow);
    if (const std::optional<std::string> json = args.value("--json"))
        WriteRecords(*json, std::string(), store, MasterJsonLine);
    if (const std::optional<std::string> paradox = args.value("--paradox")) {
        RequireReplaceableFile(*paradox);
        ExportParadoxMaster(store, LocalFileName(*paradox));
    }
}

} // namespace

std::string ExportCommand::summary() const {
    return "export the master file (ASCII, dBase, CSV, JSON Lines)";
}

std::string ExportCommand::help() const {
    return "usage: brimlo-cli export [--ascii FILE] [--dbase DIR] [--csv FILE] [--json FILE]\n"
           "                         [--paradox FILE] [--data-dir DIR] [--master URI]\n"
           "\n"
           "Writes the master file in the forms asked for (at least one); every file is\n"
           "written beside its name and renamed into place when complete.\n"
           "\n"
           "  --ascii FILE   the master ASCII file, byte for byte as the program writes it\n"
           "  --dbase DIR    the sample tables SAMPLWT.dbf and SAMPLVOL.dbf in DIR\n"
           "  --csv FILE     CSV (RFC 4180, UTF-8), a header row with the field names,\n"
           "                 one row per master record\n"
           "  --json FILE    JSON Lines, one master record a line, group fields as arrays\n"
           "                 (for --csv and --json, - is standard output)\n"
           "  --paradox FILE the master as a Paradox master.db, as other programs read it\n"
           "  --data-dir DIR the folder of master.db (default: the program's own)\n"
           "  --master URI   a master on a PostgreSQL server (postgresql://user@host/db;\n"
           "                 default: $BRIMLO_MASTER, else master.db)\n"
           "\n"
           "The ASCII file and the sample tables need at least one master record, as in\n"
           "the program. Exit status: 0 written, 2 something could not be written.\n";
}

ArgumentSpec ExportCommand::arguments() const {
    ArgumentSpec spec;
    spec.options = {"--ascii",   "--dbase",      "--csv",      "--json",
                    "--paradox", kDataDirOption, kMasterOption};
    spec.maxPositionals = 0;
    return spec;
}

int ExportCommand::run(const ParsedArguments& args, Prompt&) {
    if (!args.has("--ascii") && !args.has("--dbase") && !args.has("--csv") && !args.has("--json") &&
        !args.has("--paradox"))
        throw UsageError("say what to export: --ascii, --dbase, --csv, --json or --paradox");
    const std::optional<std::string> server = ServerMaster(args);
    DataFolder folder(args);
    if (server) {
        RunOnServer(args, folder, *server);
        return kExitOk;
    }
    MasterTable table(folder.master());
    if (args.has("--ascii") || args.has("--dbase"))
        WriteProgramFiles(args, folder, table);
    if (const std::optional<std::string> csv = args.value("--csv"))
        WriteRecords(*csv, MasterCsvHeader(), table, MasterCsvRow);
    if (const std::optional<std::string> json = args.value("--json"))
        WriteRecords(*json, std::string(), table, MasterJsonLine);
    if (const std::optional<std::string> paradox = args.value("--paradox")) {
        RequireReplaceableFile(*paradox);
        ParadoxMasterStore store(table);
        ExportParadoxMaster(store, LocalFileName(*paradox));
    }
    return kExitOk;
}

} // namespace brimlo::cli
