#pragma once

#include "support/TableStore.h"

#include <memory>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace brimlo {

// A private table (defaults, workspaces) kept in one SQLite database file
// under the table's own file name. The file holds the field list, so that
// opening restores the layout, and the records; texts are kept as bytes.
//
// Every change is one committed transaction that has reached the disk when
// the call returns. Between beginBulk and the outer endBulk all changes form
// one transaction. While the table is open, and after the program stopped
// without closing it, its write-ahead log and shared-memory index lie beside
// it ("-wal", "-shm"); opening the table again takes the log in.
class SqliteStore : public TableStore {
public:
    // Makes an empty table with these fields; a table of that name is
    // replaced together with its side files.
    static std::unique_ptr<SqliteStore> create(const std::string& path, const FieldList& fields);
    static std::unique_ptr<SqliteStore> open(const std::string& path);
    ~SqliteStore() override;
    SqliteStore(const SqliteStore&) = delete;
    SqliteStore& operator=(const SqliteStore&) = delete;

    const std::string& path() const { return path_; }

    const FieldList& fields() const override { return fields_; }
    std::vector<StoredRow> readAll() override;
    RowId insert(const Record& values) override;
    void update(RowId id, const Record& values) override;
    void remove(RowId id) override;
    void beginBulk() override;
    void endBulk() override;
    void pack() override;

    // Adds a field at the end of the layout; existing records hold null in
    // it. Raises when the table has a field of that name already.
    void addColumn(const FieldDef& field);

    // Whether a commit waits until the disk has the data. On by default;
    // only measurements of the work around the flush switch it off.
    void setFlushToDisk(bool on);

private:
    static std::string buildingPath(const std::string& path);
    explicit SqliteStore(std::string path);

    void connect(int flags);
    void configure();
    void createSchema(const FieldList& fields);
    void requireOurs();
    void readLayout();
    void prepareStatements();
    void finalizeStatements();
    sqlite3_stmt* prepare(const std::string& sql);
    void exec(const std::string& sql);
    void step(sqlite3_stmt* statement);
    void bindRecord(sqlite3_stmt* statement, const Record& values);
    void requireFileInPlace() const;
    template <class Body> void writeTransaction(Body&& body);
    void commit();
    void rollback();
    [[noreturn]] void fail(const std::string& what) const;

    std::string path_;
    sqlite3* db_ = nullptr;
    FieldList fields_;
    int bulk_ = 0;
    bool bulkBroken_ = false;
    sqlite3_stmt* insert_ = nullptr;
    sqlite3_stmt* update_ = nullptr;
    sqlite3_stmt* remove_ = nullptr;
    sqlite3_stmt* select_ = nullptr;
};

} // namespace brimlo
