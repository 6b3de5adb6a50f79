#include "load/LoadWorkspace.h"

#include "load/LoadLayouts.h"
#include "support/BrimloError.h"
#include "support/DovraneGeneric.h"
#include "support/SqliteStore.h"
#include "support/TableFiles.h"
#include "support/WorkspaceFiles.h"

namespace brimlo {

namespace {

constexpr const char* kLogKey = FieldName(LogField::LOGNUM);

Dataset& Required(const std::unique_ptr<Dataset>& dataset, const std::string& path) {
    if (!dataset || !dataset->isOpen())
        throw BrimloError("Table '" + path + "' is not open");
    return *dataset;
}

} // namespace

LoadWorkspace::LoadWorkspace(std::string headerPath, std::string logPath)
    : headerPath_(std::move(headerPath)), logPath_(std::move(logPath)) {}

LoadWorkspace::~LoadWorkspace() = default;

std::unique_ptr<LoadWorkspace> LoadWorkspace::Named(const std::string& directory, int32_t n) {
    return std::make_unique<LoadWorkspace>(directory + HeaderFileName(n),
                                           directory + LogFileName(n));
}

std::unique_ptr<LoadWorkspace> LoadWorkspace::FromHeaderFile(const std::string& headerPath) {
    return std::make_unique<LoadWorkspace>(headerPath, LogPathForHeader(headerPath));
}

void LoadWorkspace::create() {
    build();
    publish();
}

void LoadWorkspace::build() {
    log_ = std::make_unique<Dataset>(SqliteStore::build(logPath_, LogFields()), kLogKey);
    header_ = std::make_unique<Dataset>(SqliteStore::build(headerPath_, HeaderFields()));
    resolveLog();
    resolveHeader();
}

// The log table takes its name first: a header table, which is what finds a
// workspace again, never stands without its log.
void LoadWorkspace::publish() {
    bool published = false;
    for (Dataset* table : {log_.get(), header_.get()}) {
        if (!table || !table->isOpen())
            continue;
        if (auto* store = dynamic_cast<SqliteStore*>(&table->store()); store && store->building()) {
            store->publish();
            published = true;
        }
    }
    if (published)
        SyncDirectoryOf(headerPath_);
}

void LoadWorkspace::openLog() {
    log_ = std::make_unique<Dataset>(SqliteStore::open(logPath_), kLogKey);
    resolveLog();
}

void LoadWorkspace::openHeader() {
    header_ = std::make_unique<Dataset>(SqliteStore::open(headerPath_));
    resolveHeader();
}

// A table left by an earlier run is read with the layout it has.
void LoadWorkspace::resolveLog() {
    logIndex_ = LogFieldIndex(log_->fields());
}

void LoadWorkspace::resolveHeader() {
    headerIndex_ = HeaderFieldIndex(header_->fields());
}

Dataset& LoadWorkspace::header() {
    return Required(header_, headerPath_);
}

Dataset& LoadWorkspace::log() {
    return Required(log_, logPath_);
}

const Dataset& LoadWorkspace::header() const {
    return Required(header_, headerPath_);
}

const Dataset& LoadWorkspace::log() const {
    return Required(log_, logPath_);
}

void LoadWorkspace::close() {
    if (log_)
        log_->close();
    if (header_)
        header_->close();
}

void LoadWorkspace::remove() {
    close();
    for (const std::string& path : {logPath_, headerPath_}) {
        DeleteTable(path);
        DeleteTable(SqliteStore::buildingPath(path));
    }
}

std::string LogPathForHeader(const std::string& headerPath) {
    const auto slash = headerPath.find_last_of("/\\");
    const auto nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string name = headerPath.substr(nameStart);
    ReplaceFirst(name, "Header", "Log");
    return headerPath.substr(0, nameStart) + name;
}

} // namespace brimlo
