#include "common/RawSqlite.h"

#include <filesystem>
#include <sqlite3.h>
#include <stdexcept>

namespace brimlo::testing {

namespace {

class Connection {
public:
    explicit Connection(const std::string& path) {
        if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
    }
    ~Connection() { sqlite3_close(db_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void exec(const std::string& sql) {
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_) + (": " + sql));
    }
    sqlite3* db() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

// The type numbers of the 1.1 field list, written out here rather than taken
// from the program so that a change of its enumeration shows.
int Version11Type(FieldType type) {
    switch (type) {
    case FieldType::Alpha:
        return 0;
    case FieldType::Short:
        return 1;
    case FieldType::Long:
        return 2;
    case FieldType::Number:
        return 3;
    case FieldType::Date:
        return 4;
    case FieldType::Logical:
        return 5;
    }
    return -1;
}

} // namespace

std::vector<std::vector<std::string>> QueryRows(const std::string& path, const std::string& sql) {
    Connection c(path);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(c.db(), sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(c.db()) + (": " + sql));
    std::vector<std::vector<std::string>> rows;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        std::vector<std::string>& row = rows.emplace_back();
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
            row.push_back(
                text ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(statement, i)))
                     : "NULL");
        }
    }
    sqlite3_finalize(statement);
    return rows;
}

void WriteVersion11Table(const std::string& path, const FieldList& fields,
                         const std::vector<std::string>& inserts, bool inLog) {
    const std::string saved = path + ".saved";
    {
        Connection c(path);
        c.exec("PRAGMA journal_mode=WAL");
        c.exec("PRAGMA wal_autocheckpoint=0");
        c.exec("BEGIN");
        c.exec("PRAGMA application_id=1112689741"); // "BRLM"
        c.exec("PRAGMA user_version=1");
        c.exec("CREATE TABLE layout(pos INTEGER PRIMARY KEY, name BLOB NOT NULL, "
               "type INTEGER NOT NULL, size INTEGER NOT NULL)");
        std::string columns;
        for (size_t i = 0; i < fields.size(); ++i) {
            columns += ", c" + std::to_string(i);
            c.exec("INSERT INTO layout VALUES(" + std::to_string(i) + ", CAST('" + fields[i].name +
                   "' AS BLOB), " + std::to_string(Version11Type(fields[i].type)) + ", " +
                   std::to_string(fields[i].size) + ")");
        }
        c.exec("CREATE TABLE records(rid INTEGER PRIMARY KEY AUTOINCREMENT" + columns + ")");
        c.exec("COMMIT");
        c.exec("PRAGMA wal_checkpoint(TRUNCATE)");
        std::filesystem::copy_file(path, saved, std::filesystem::copy_options::overwrite_existing);
        c.exec("BEGIN");
        for (const std::string& insert : inserts)
            c.exec(insert);
        c.exec("COMMIT");
        std::filesystem::copy_file(path + "-wal", saved + "-wal",
                                   std::filesystem::copy_options::overwrite_existing);
    }
    if (inLog) {
        std::filesystem::rename(saved, path);
        std::filesystem::rename(saved + "-wal", path + "-wal");
    } else {
        std::filesystem::remove(saved);
        std::filesystem::remove(saved + "-wal");
    }
}

} // namespace brimlo::testing
