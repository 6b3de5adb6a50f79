#include "support/SqliteStore.h"

#include "support/BrimloError.h"
#include "support/SqliteColumns.h"
#include "support/TableFiles.h"

#include <cctype>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sqlite3.h>
#include <unistd.h>

namespace brimlo {

namespace {

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Marks a database file as a table of this program ("BRLM").
constexpr int kApplicationId = 0x42524C4D;
// 1: a field list and numbered columns (version 1.1); 2: named columns.
constexpr int kOlderLayoutVersion = 1;
constexpr int kLayoutVersion = 2;

// Older tables numbered their columns c0, c1, ...
// Appended rather than prefixed: GCC 12 warns falsely about "c" + text at -O3.
std::string OlderColumn(size_t index) {
    std::string name(1, 'c');
    name += std::to_string(index);
    return name;
}

// SQLite's own names for the row id, which a column must not hide.
bool IsRowIdName(const std::string& name) {
    for (const char* reserved : {"ROWID", "OID", "_ROWID_"})
        if (SameName(name, reserved))
            return true;
    return false;
}

void CheckLayout(const FieldList& fields) {
    if (fields.empty())
        throw BrimloError("A table needs at least one field");
    for (size_t i = 0; i < fields.size(); ++i) {
        const FieldDef& f = fields[i];
        if (f.name.empty())
            throw BrimloError("A field has no name");
        if (IsRowIdName(f.name))
            throw BrimloError("Field name '" + f.name + "' is reserved");
        if (f.type == FieldType::Alpha && (f.size < 1 || f.size > 255))
            throw BrimloError("Invalid size of field '" + f.name + "'");
        for (size_t j = 0; j < i; ++j)
            if (SameName(fields[j].name, f.name))
                throw BrimloError("Duplicate field name '" + f.name + "'");
    }
}

} // namespace

SqliteStore::SqliteStore(std::string path) : path_(std::move(path)) {}

namespace {

bool FlushFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool flushed = ::fdatasync(fd) == 0;
    return ::close(fd) == 0 && flushed;
}

} // namespace

SqliteStore::~SqliteStore() {
    finalizeStatements();
    if (db_) {
        if (!sqlite3_get_autocommit(db_))
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close_v2(db_);
    }
}

// Where a new table is built before it takes its name: the same folder, a
// name no search for tables or workspaces takes for one of theirs.
std::string SqliteStore::buildingPath(const std::string& path) {
    const std::filesystem::path target(path);
    return (target.parent_path() / ("~" + target.stem().string() + ".new")).string();
}

// The table is built whole under another name and renamed into place, so a
// program killed while making it leaves either no table or a whole one,
// never an empty or half-made file under the table's name.
std::unique_ptr<SqliteStore> SqliteStore::create(const std::string& path, const FieldList& fields) {
    std::unique_ptr<SqliteStore> store = build(path, fields);
    store->publish();
    SyncDirectoryOf(path);
    return store;
}

std::unique_ptr<SqliteStore> SqliteStore::build(const std::string& path, const FieldList& fields) {
    CheckLayout(fields); // before the old table is gone
    DeleteTable(path);
    return startBuild(path, fields);
}

namespace {

// The SQLite table takes the name of its file (defaults, Header3, Log3).
std::string TableNameFor(const std::string& path) {
    return std::filesystem::path(path).stem().string();
}

} // namespace

// Starts a table beside path, leaving whatever lies under path as it is.
std::unique_ptr<SqliteStore> SqliteStore::startBuild(const std::string& path,
                                                     const FieldList& fields) {
    CheckLayout(fields);
    const std::string building = buildingPath(path);
    try {
        DeleteTable(building);
        std::unique_ptr<SqliteStore> store(new SqliteStore(building));
        store->connect(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        // Off before the switch to the write-ahead log, which writes the
        // new file's first page and would flush it.
        store->setFlushToDisk(false);
        // Space of removed records is given back page by page (pack), which
        // keeps the ids; it must be chosen before the first table exists.
        store->exec("PRAGMA auto_vacuum=INCREMENTAL");
        store->configure();
        store->setFlushToDisk(false);
        store->createSchema(fields, TableNameFor(path));
        store->readLayout();
        store->prepareStatements();
        store->target_ = path;
        return store;
    } catch (const BrimloError& e) {
        try {
            DeleteTable(building);
        } catch (const BrimloError&) { // the creation error is the one to tell
        }
        throw BrimloError("Cannot create table '" + path + "': " + e.text());
    }
}

void SqliteStore::publish() {
    if (!building())
        return;
    if (bulk_ > 0)
        throw BrimloError("Cannot create table '" + target_ + "': a bulk change is open");
    const std::string building = path_;
    try {
        // Closing folds the log into the file and removes it: the file is
        // whole, and one flush makes it durable.
        closeConnection();
        if (!FlushFile(building))
            throw BrimloError("cannot flush the new table to disk");
        std::error_code error;
        std::filesystem::rename(building, target_, error);
        if (error)
            throw BrimloError(error.message());
        path_ = target_;
        target_.clear();
        connect(SQLITE_OPEN_READWRITE);
        configure();
        prepareStatements();
    } catch (const BrimloError& e) {
        const std::string target = target_.empty() ? path_ : target_;
        try {
            DeleteTable(building);
        } catch (const BrimloError&) { // the creation error is the one to tell
        }
        throw BrimloError("Cannot create table '" + target + "': " + e.text());
    }
}

void SqliteStore::closeConnection() {
    finalizeStatements();
    if (db_ && sqlite3_close(db_) != SQLITE_OK)
        throw BrimloError(sqlite3_errmsg(db_));
    db_ = nullptr;
}

namespace {

bool HasSqliteSignature(const std::string& path) {
    static constexpr char kSignature[16] = {'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f',
                                            'o', 'r', 'm', 'a', 't', ' ', '3', '\0'};
    std::ifstream in(path, std::ios::binary);
    char head[16] = {};
    return in.read(head, sizeof head) && std::memcmp(head, kSignature, sizeof head) == 0;
}

} // namespace

std::unique_ptr<SqliteStore> SqliteStore::open(const std::string& path,
                                               const FieldCheck& convertible) {
    if (!TableExists(path))
        throw BrimloError("Cannot open table '" + path + "': the file does not exist");
    // SQLite would turn an empty file into a database at the first pragma;
    // a file that is not ours must be left exactly as it is.
    if (!HasSqliteSignature(path))
        throw BrimloError("Cannot open table '" + path + "': the file is empty or not a table");
    std::unique_ptr<SqliteStore> store(new SqliteStore(path));
    try {
        store->connect(SQLITE_OPEN_READWRITE);
        // another program's database is refused before anything (the
        // journal mode) is changed in it
        store->requireOurs();
        const int version = store->layoutVersion();
        if (version == kOlderLayoutVersion)
            return convert(std::move(store), convertible);
        if (version != kLayoutVersion)
            throw BrimloError("the table was written by another version of this program");
        store->configure();
        store->readLayout();
        store->prepareStatements();
    } catch (const BrimloError& e) {
        if (e.text().rfind("Cannot ", 0) == 0)
            throw;
        throw BrimloError("Cannot open table '" + path + "': " + e.text());
    }
    return store;
}

// Reads everything of the older table before anything is written: a table
// that cannot be read whole, or whose fields are not wanted, stays as it is.
// The new table is built beside it, and the older one's log folded in and
// emptied first, so that no log of the older file applies to the new one.
std::unique_ptr<SqliteStore> SqliteStore::convert(std::unique_ptr<SqliteStore> older,
                                                  const FieldCheck& convertible) {
    const std::string path = older->path_;
    const FieldList fields = older->readOlderLayout();
    if (convertible && !convertible(fields))
        throw BrimloError("the table has an older form and fields this program does not use");
    std::string columns;
    for (size_t i = 0; i < fields.size(); ++i)
        columns += ", " + OlderColumn(i);
    sqlite3_stmt* select = older->prepare("SELECT rid" + columns + " FROM records ORDER BY rid");
    std::vector<StoredRow> rows;
    try {
        older->fields_ = fields;
        rows = older->readRows(select, fields.size());
    } catch (...) {
        sqlite3_finalize(select);
        throw;
    }
    sqlite3_finalize(select);
    older->emptyLog();
    older->closeConnection();
    older.reset();

    std::unique_ptr<SqliteStore> store = startBuild(path, fields);
    try {
        store->copyRows(rows);
        // nothing is left in them (emptyLog), and a log must not meet the new file
        for (const std::string& ending : TableSideFileEndings()) {
            std::error_code error;
            std::filesystem::remove(path + ending, error);
            if (error)
                throw BrimloError("Cannot convert table '" + path + "': " + error.message());
        }
    } catch (const BrimloError&) {
        store.reset();
        try {
            DeleteTable(buildingPath(path));
        } catch (const BrimloError&) { // the conversion error is the one to tell
        }
        throw;
    }
    store->publish();
    SyncDirectoryOf(path);
    return store;
}

void SqliteStore::emptyLog() {
    sqlite3_stmt* checkpoint = prepare("PRAGMA wal_checkpoint(TRUNCATE)");
    const int rc = sqlite3_step(checkpoint);
    const bool done = rc == SQLITE_ROW && sqlite3_column_int(checkpoint, 0) == 0;
    sqlite3_finalize(checkpoint);
    if (!done)
        throw BrimloError("the table is in use");
}

// Inserts the rows under their ids in one transaction of the build.
void SqliteStore::copyRows(const std::vector<StoredRow>& rows) {
    std::string columns, slots;
    for (const FieldDef& field : fields_) {
        columns += QuotedName(field.name) + ", ";
        slots += "?, ";
    }
    sqlite3_stmt* add =
        prepare("INSERT INTO " + table_ + "(" + columns + "rowid) VALUES(" + slots + "?)");
    try {
        writeTransaction([&] {
            for (const StoredRow& row : rows) {
                bindRecord(add, row.values);
                sqlite3_bind_int64(add, static_cast<int>(fields_.size()) + 1, row.id);
                step(add);
            }
        });
    } catch (...) {
        sqlite3_finalize(add);
        throw;
    }
    sqlite3_finalize(add);
}

void SqliteStore::connect(int flags) {
    const int rc = sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string why = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw BrimloError(why);
    }
    sqlite3_extended_result_codes(db_, 1);
    // another process may be folding its log into the table as it closes:
    // wait for it from the first read on, not only after the checks
    sqlite3_busy_timeout(db_, 2000);
}

void SqliteStore::configure() {
    // Write-ahead logging appends each commit to the log beside the table
    // and flushes it once: the post survives a killed process and a machine
    // that stops, and the work around the flush stays small. The log is
    // folded back into the table when the last connection closes.
    exec("PRAGMA journal_mode=WAL");
    setFlushToDisk(true);
}

void SqliteStore::setFlushToDisk(bool on) {
    exec(on ? "PRAGMA synchronous=FULL" : "PRAGMA synchronous=OFF");
}

void SqliteStore::createSchema(const FieldList& fields, const std::string& table) {
    std::string columns;
    for (const FieldDef& field : fields)
        columns += (columns.empty() ? "" : ", ") + ColumnDeclaration(field);
    exec("BEGIN IMMEDIATE");
    try {
        exec("PRAGMA application_id=" + std::to_string(kApplicationId));
        exec("PRAGMA user_version=" + std::to_string(kLayoutVersion));
        exec("CREATE TABLE " + QuotedName(table) + "(" + columns + ")");
        exec("COMMIT");
    } catch (...) {
        rollback();
        throw;
    }
}

void SqliteStore::requireOurs() {
    sqlite3_stmt* id = prepare("PRAGMA application_id");
    const int rc = sqlite3_step(id);
    const bool ours = rc == SQLITE_ROW && sqlite3_column_int(id, 0) == kApplicationId;
    const std::string why = sqlite3_errmsg(db_);
    sqlite3_finalize(id);
    // a table busy in another process is not a foreign file
    if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
        throw BrimloError(why);
    if (!ours)
        throw BrimloError("the file is not a table of this program");
}

int SqliteStore::layoutVersion() {
    sqlite3_stmt* read = prepare("PRAGMA user_version");
    const int rc = sqlite3_step(read);
    const int version = rc == SQLITE_ROW ? sqlite3_column_int(read, 0) : -1;
    sqlite3_finalize(read);
    if (rc != SQLITE_ROW)
        throw BrimloError(sqlite3_errmsg(db_));
    return version;
}

namespace {

std::string TextColumn(sqlite3_stmt* statement, int column) {
    const unsigned char* text = sqlite3_column_text(statement, column);
    return text ? std::string(reinterpret_cast<const char*>(text),
                              static_cast<size_t>(sqlite3_column_bytes(statement, column)))
                : std::string();
}

} // namespace

// The fields are the columns of the file's one table, as SQLite lists them.
void SqliteStore::readLayout() {
    requireOurs();
    std::vector<std::string> tables;
    sqlite3_stmt* names = prepare("SELECT name FROM sqlite_master WHERE type = 'table' AND "
                                  "name NOT LIKE 'sqlite%' ORDER BY name");
    while (sqlite3_step(names) == SQLITE_ROW)
        tables.push_back(TextColumn(names, 0));
    sqlite3_finalize(names);
    if (tables.size() != 1)
        throw BrimloError("the file does not hold one table");
    table_ = QuotedName(tables.front());
    fields_.clear();
    sqlite3_stmt* info = prepare("PRAGMA table_info(" + table_ + ")");
    int rc;
    bool ours = true;
    while ((rc = sqlite3_step(info)) == SQLITE_ROW) {
        const std::optional<FieldDef> field =
            FieldOfColumn(TextColumn(info, 1), TextColumn(info, 2));
        ours = ours && field && sqlite3_column_int(info, 5) == 0;
        if (field)
            fields_.push_back(*field);
    }
    sqlite3_finalize(info);
    if (rc != SQLITE_DONE)
        throw BrimloError(sqlite3_errmsg(db_));
    if (!ours || fields_.empty())
        throw BrimloError("the field list is damaged");
}

// The field list of a table of the older form.
FieldList SqliteStore::readOlderLayout() {
    FieldList fields;
    sqlite3_stmt* read = prepare("SELECT name, type, size FROM layout ORDER BY pos");
    int rc;
    while ((rc = sqlite3_step(read)) == SQLITE_ROW) {
        FieldDef f;
        f.name = ReadColumn(read, 0, FieldType::Alpha).asString();
        const int type = sqlite3_column_int(read, 1);
        f.type = static_cast<FieldType>(type);
        f.size = sqlite3_column_int(read, 2);
        if (type < 0 || type > static_cast<int>(FieldType::Logical) || f.name.empty()) {
            sqlite3_finalize(read);
            throw BrimloError("the field list is damaged");
        }
        fields.push_back(f);
    }
    sqlite3_finalize(read);
    if (rc != SQLITE_DONE)
        throw BrimloError(sqlite3_errmsg(db_));
    try {
        CheckLayout(fields);
    } catch (const BrimloError&) {
        throw BrimloError("the field list is damaged");
    }
    return fields;
}

void SqliteStore::prepareStatements() {
    finalizeStatements();
    std::string columns, slots, sets;
    for (size_t i = 0; i < fields_.size(); ++i) {
        const std::string sep = i ? ", " : "";
        const std::string column = QuotedName(fields_[i].name);
        columns += sep + column;
        slots += sep + "?";
        sets += sep + column + " = ?";
    }
    insert_ = prepare("INSERT INTO " + table_ + "(" + columns + ") VALUES(" + slots + ")");
    update_ = prepare("UPDATE " + table_ + " SET " + sets + " WHERE rowid = ?");
    remove_ = prepare("DELETE FROM " + table_ + " WHERE rowid = ?");
    select_ = prepare("SELECT rowid, " + columns + " FROM " + table_ + " ORDER BY rowid");
}

void SqliteStore::finalizeStatements() {
    for (sqlite3_stmt** s : {&insert_, &update_, &remove_, &select_}) {
        sqlite3_finalize(*s);
        *s = nullptr;
    }
}

sqlite3_stmt* SqliteStore::prepare(const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        throw BrimloError(sqlite3_errmsg(db_));
    return statement;
}

void SqliteStore::exec(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string why = message ? message : sqlite3_errmsg(db_);
        sqlite3_free(message);
        throw BrimloError(why);
    }
}

void SqliteStore::fail(const std::string& what) const {
    throw BrimloError("Cannot " + what + " table '" + path_ + "': " + sqlite3_errmsg(db_));
}

void SqliteStore::step(sqlite3_stmt* statement) {
    const int rc = sqlite3_step(statement);
    sqlite3_reset(statement);
    if (rc != SQLITE_DONE)
        fail("write");
}

void SqliteStore::bindRecord(sqlite3_stmt* statement, const Record& values) {
    sqlite3_reset(statement);
    for (size_t i = 0; i < fields_.size(); ++i) {
        const Value& v = i < values.size() ? values[i] : Value();
        if (BindValue(statement, static_cast<int>(i) + 1, fields_[i].type, v) != SQLITE_OK)
            fail("write");
    }
}

std::vector<StoredRow> SqliteStore::readAll() {
    return readRows(select_, fields_.size());
}

// Rows of a statement that selects the id and then the fields in order.
std::vector<StoredRow> SqliteStore::readRows(sqlite3_stmt* select, size_t columns) {
    std::vector<StoredRow> rows;
    sqlite3_reset(select);
    int rc;
    while ((rc = sqlite3_step(select)) == SQLITE_ROW) {
        StoredRow row{sqlite3_column_int64(select, 0), Record(columns)};
        for (size_t i = 0; i < columns; ++i)
            row.values[i] = ReadColumn(select, static_cast<int>(i) + 1, fields_[i].type);
        rows.push_back(std::move(row));
    }
    sqlite3_reset(select);
    if (rc != SQLITE_DONE)
        fail("read");
    return rows;
}

// A table whose file was removed or renamed while it was open would take
// posts into a file nobody can find again: they are refused instead.
void SqliteStore::requireFileInPlace() const {
    int moved = 0;
    if (sqlite3_file_control(db_, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK && moved)
        throw BrimloError("Cannot write table '" + path_ + "': the file has been removed or moved");
}

// Runs body in a transaction of its own, or inside the open bulk one.
template <class Body> void SqliteStore::writeTransaction(Body&& body) {
    if (bulkBroken_)
        throw BrimloError("Cannot write table '" + path_ + "': an earlier write failed");
    const bool own = bulk_ == 0;
    if (own)
        requireFileInPlace();
    try {
        if (own)
            exec("BEGIN IMMEDIATE");
        body();
        if (own)
            commit();
    } catch (const BrimloError& e) {
        if (own || sqlite3_get_autocommit(db_)) {
            // A failed bulk write may have taken the whole transaction with it.
            bulkBroken_ = !own;
            rollback();
        }
        if (e.text().rfind("Cannot ", 0) == 0)
            throw;
        throw BrimloError("Cannot write table '" + path_ + "': " + e.text());
    }
}

void SqliteStore::commit() {
    if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        fail("write");
}

void SqliteStore::rollback() {
    if (!sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

RowId SqliteStore::insert(const Record& values) {
    RowId id = 0;
    writeTransaction([&] {
        bindRecord(insert_, values);
        step(insert_);
        id = sqlite3_last_insert_rowid(db_);
    });
    return id;
}

void SqliteStore::update(RowId id, const Record& values) {
    writeTransaction([&] {
        bindRecord(update_, values);
        sqlite3_bind_int64(update_, static_cast<int>(fields_.size()) + 1, id);
        step(update_);
        if (sqlite3_changes(db_) != 1)
            throw BrimloError("Cannot write table '" + path_ + "': the record no longer exists");
    });
}

void SqliteStore::remove(RowId id) {
    writeTransaction([&] {
        sqlite3_reset(remove_);
        sqlite3_bind_int64(remove_, 1, id);
        step(remove_);
    });
}

void SqliteStore::beginBulk() {
    if (bulk_ == 0) {
        requireFileInPlace();
        try {
            exec("BEGIN IMMEDIATE");
        } catch (const BrimloError& e) {
            throw BrimloError("Cannot write table '" + path_ + "': " + e.text());
        }
        bulkBroken_ = false;
    }
    ++bulk_;
}

void SqliteStore::endBulk() {
    if (bulk_ == 0 || --bulk_ > 0)
        return;
    const bool broken = bulkBroken_;
    bulkBroken_ = false;
    if (broken) {
        rollback();
        throw BrimloError("Cannot write table '" + path_ + "': an earlier write failed");
    }
    try {
        commit();
    } catch (...) {
        rollback();
        throw;
    }
}

void SqliteStore::pack() {
    if (bulk_ > 0)
        throw BrimloError("Cannot pack table '" + path_ + "' while it is being written");
    // Gives free pages back to the file system; unlike VACUUM it leaves the
    // ids as they are.
    if (sqlite3_exec(db_, "PRAGMA incremental_vacuum", nullptr, nullptr, nullptr) != SQLITE_OK)
        fail("pack");
}

void SqliteStore::addColumn(const FieldDef& field) {
    FieldList wider = fields_;
    wider.push_back(field);
    try {
        CheckLayout(wider);
    } catch (const BrimloError& e) {
        throw BrimloError("Cannot add a field to table '" + path_ + "': " + e.text());
    }
    writeTransaction(
        [&] { exec("ALTER TABLE " + table_ + " ADD COLUMN " + ColumnDeclaration(field)); });
    readLayout();
    prepareStatements();
}

} // namespace brimlo
