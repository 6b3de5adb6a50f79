#include "common/RawSqlite.h"

#include <filesystem>
#include <map>
#include <memory>
#include <sqlite3.h>
#include <stdexcept>

namespace brimlo::testing {

namespace {

using Db = std::unique_ptr<sqlite3, int (*)(sqlite3*)>;

Db Open(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    return Db(db, sqlite3_close);
}

void Exec(const Db& db, const std::string& sql) {
    if (sqlite3_exec(db.get(), sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db.get()) + (": " + sql));
}

} // namespace

std::vector<std::vector<std::string>> QueryRows(const std::string& path, const std::string& sql) {
    const Db db = Open(path);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db.get()) + (": " + sql));
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
    // the type numbers of the 1.1 field list, spelled out so that a change of
    // the program's enumeration shows
    const std::map<FieldType, int> types = {{FieldType::Alpha, 0}, {FieldType::Short, 1},
                                            {FieldType::Long, 2},  {FieldType::Number, 3},
                                            {FieldType::Date, 4},  {FieldType::Logical, 5}};
    const std::string saved = path + ".saved";
    {
        const Db db = Open(path);
        Exec(db, "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0; BEGIN; "
                 "PRAGMA application_id=1112689741; PRAGMA user_version=1; " // "BRLM"
                 "CREATE TABLE layout(pos INTEGER PRIMARY KEY, name BLOB NOT NULL, "
                 "type INTEGER NOT NULL, size INTEGER NOT NULL)");
        std::string columns;
        for (size_t i = 0; i < fields.size(); ++i) {
            columns += ", c" + std::to_string(i);
            Exec(db, "INSERT INTO layout VALUES(" + std::to_string(i) + ", CAST('" +
                         fields[i].name + "' AS BLOB), " +
                         std::to_string(types.at(fields[i].type)) + ", " +
                         std::to_string(fields[i].size) + ")");
        }
        Exec(db, "CREATE TABLE records(rid INTEGER PRIMARY KEY AUTOINCREMENT" + columns +
                     "); COMMIT; PRAGMA wal_checkpoint(TRUNCATE)");
        std::filesystem::copy_file(path, saved); // the file before the records
        Exec(db, "BEGIN");
        for (const std::string& insert : inserts)
            Exec(db, insert);
        Exec(db, "COMMIT");
        std::filesystem::copy_file(path + "-wal", saved + "-wal");
    }
    if (inLog) {
        std::filesystem::rename(saved, path);
        std::filesystem::rename(saved + "-wal", path + "-wal");
    }
    std::filesystem::remove(saved);
    std::filesystem::remove(saved + "-wal");
}

} // namespace brimlo::testing
