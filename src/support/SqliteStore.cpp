#include "support/SqliteStore.h"

#include "support/BrimloError.h"
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

// Marks a database file as a table of this program ("BRLM").
constexpr int kApplicationId = 0x42524C4D;
constexpr int kLayoutVersion = 1;

// Appended rather than prefixed: GCC 12 warns falsely about "c" + text at -O3.
std::string Column(size_t index) {
    std::string name(1, 'c');
    name += std::to_string(index);
    return name;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

void CheckLayout(const FieldList& fields) {
    if (fields.empty())
        throw BrimloError("A table needs at least one field");
    for (size_t i = 0; i < fields.size(); ++i) {
        const FieldDef& f = fields[i];
        if (f.name.empty())
            throw BrimloError("A field has no name");
        if (f.type == FieldType::Alpha && (f.size < 1 || f.size > 255))
            throw BrimloError("Invalid size of field '" + f.name + "'");
        for (size_t j = 0; j < i; ++j)
            if (SameName(fields[j].name, f.name))
                throw BrimloError("Duplicate field name '" + f.name + "'");
    }
}

Value ReadColumn(sqlite3_stmt* statement, int column, FieldType type) {
    const int stored = sqlite3_column_type(statement, column);
    if (stored == SQLITE_NULL)
        return Value();
    switch (type) {
    case FieldType::Alpha: {
        const void* bytes = sqlite3_column_blob(statement, column);
        const int size = sqlite3_column_bytes(statement, column);
        return Value(std::string(static_cast<const char*>(bytes), static_cast<size_t>(size)));
    }
    case FieldType::Short:
    case FieldType::Long:
        return Value(static_cast<int32_t>(sqlite3_column_int64(statement, column)));
    case FieldType::Number:
        return Value(sqlite3_column_double(statement, column));
    case FieldType::Date:
        return Value(Date{static_cast<int32_t>(sqlite3_column_int64(statement, column))});
    case FieldType::Logical:
        return Value(sqlite3_column_int64(statement, column) != 0);
    }
    return Value();
}

int BindValue(sqlite3_stmt* statement, int slot, FieldType type, const Value& v) {
    if (v.isNull())
        return sqlite3_bind_null(statement, slot);
    switch (type) {
    case FieldType::Alpha: {
        const std::string text = v.asString();
        return sqlite3_bind_blob(statement, slot, text.data(), static_cast<int>(text.size()),
                                 SQLITE_TRANSIENT);
    }
    case FieldType::Short:
    case FieldType::Long:
        return sqlite3_bind_int(statement, slot, v.asInt());
    case FieldType::Number:
        return sqlite3_bind_double(statement, slot, v.asDouble());
    case FieldType::Date: {
        const Date d = v.asDate();
        return d.valid() ? sqlite3_bind_int(statement, slot, d.days)
                         : sqlite3_bind_null(statement, slot);
    }
    case FieldType::Logical:
        return sqlite3_bind_int(statement, slot, v.asBool() ? 1 : 0);
    }
    return sqlite3_bind_null(statement, slot);
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
    CheckLayout(fields);
    DeleteTable(path);
    const std::string building = buildingPath(path);
    try {
        DeleteTable(building);
        std::unique_ptr<SqliteStore> store(new SqliteStore(building));
        store->connect(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        // Off before the switch to the write-ahead log, which writes the
        // new file's first page and would flush it.
        store->setFlushToDisk(false);
        store->configure();
        store->setFlushToDisk(false);
        store->createSchema(fields);
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

std::unique_ptr<SqliteStore> SqliteStore::open(const std::string& path) {
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
        store->configure();
        store->readLayout();
        store->prepareStatements();
    } catch (const BrimloError& e) {
        throw BrimloError("Cannot open table '" + path + "': " + e.text());
    }
    return store;
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

void SqliteStore::createSchema(const FieldList& fields) {
    std::string columns;
    for (size_t i = 0; i < fields.size(); ++i)
        columns += ", " + Column(i);
    exec("BEGIN IMMEDIATE");
    try {
        exec("PRAGMA application_id=" + std::to_string(kApplicationId));
        exec("PRAGMA user_version=" + std::to_string(kLayoutVersion));
        exec("CREATE TABLE layout(pos INTEGER PRIMARY KEY, name BLOB NOT NULL, "
             "type INTEGER NOT NULL, size INTEGER NOT NULL)");
        exec("CREATE TABLE records(rid INTEGER PRIMARY KEY AUTOINCREMENT" + columns + ")");
        sqlite3_stmt* add = prepare("INSERT INTO layout(pos, name, type, size) VALUES(?, ?, ?, ?)");
        for (size_t i = 0; i < fields.size(); ++i) {
            sqlite3_reset(add);
            sqlite3_bind_int(add, 1, static_cast<int>(i));
            sqlite3_bind_blob(add, 2, fields[i].name.data(),
                              static_cast<int>(fields[i].name.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int(add, 3, static_cast<int>(fields[i].type));
            sqlite3_bind_int(add, 4, fields[i].size);
            const int rc = sqlite3_step(add);
            if (rc != SQLITE_DONE) {
                sqlite3_finalize(add);
                throw BrimloError(sqlite3_errmsg(db_));
            }
        }
        sqlite3_finalize(add);
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

void SqliteStore::readLayout() {
    requireOurs();
    fields_.clear();
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
        fields_.push_back(f);
    }
    sqlite3_finalize(read);
    if (rc != SQLITE_DONE)
        throw BrimloError(sqlite3_errmsg(db_));
    if (fields_.empty())
        throw BrimloError("the field list is damaged");
}

void SqliteStore::prepareStatements() {
    finalizeStatements();
    std::string columns, slots, sets;
    for (size_t i = 0; i < fields_.size(); ++i) {
        const std::string sep = i ? ", " : "";
        columns += sep + Column(i);
        slots += sep + "?";
        sets += sep + Column(i) + " = ?";
    }
    insert_ = prepare("INSERT INTO records(" + columns + ") VALUES(" + slots + ")");
    update_ = prepare("UPDATE records SET " + sets + " WHERE rid = ?");
    remove_ = prepare("DELETE FROM records WHERE rid = ?");
    select_ = prepare("SELECT rid, " + columns + " FROM records ORDER BY rid");
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
    std::vector<StoredRow> rows;
    sqlite3_reset(select_);
    int rc;
    while ((rc = sqlite3_step(select_)) == SQLITE_ROW) {
        StoredRow row{sqlite3_column_int64(select_, 0), Record(fields_.size())};
        for (size_t i = 0; i < fields_.size(); ++i)
            row.values[i] = ReadColumn(select_, static_cast<int>(i) + 1, fields_[i].type);
        rows.push_back(std::move(row));
    }
    sqlite3_reset(select_);
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
    if (sqlite3_exec(db_, "VACUUM", nullptr, nullptr, nullptr) != SQLITE_OK)
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
    writeTransaction([&] {
        exec("ALTER TABLE records ADD COLUMN " + Column(fields_.size()));
        sqlite3_stmt* add = prepare("INSERT INTO layout(pos, name, type, size) VALUES(?, ?, ?, ?)");
        sqlite3_bind_int(add, 1, static_cast<int>(fields_.size()));
        sqlite3_bind_blob(add, 2, field.name.data(), static_cast<int>(field.name.size()),
                          SQLITE_TRANSIENT);
        sqlite3_bind_int(add, 3, static_cast<int>(field.type));
        sqlite3_bind_int(add, 4, field.size);
        const int rc = sqlite3_step(add);
        sqlite3_finalize(add);
        if (rc != SQLITE_DONE)
            fail("write");
    });
    fields_ = std::move(wider);
    prepareStatements();
}

} // namespace brimlo
