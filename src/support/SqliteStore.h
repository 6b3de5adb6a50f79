#pragma once

#include "support/TableStore.h"

#include <functional>
#include <memory>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace brimlo {

// A private table (defaults, workspaces) kept in one SQLite database file
// under the table's own file name: one SQLite table, named after the file,
// whose columns are the fields (SqliteColumns), records in their order of
// insertion (rowid). Opening reads the layout back from the columns.
//
// Files of version 1.1 kept a field list and numbered columns instead;
// opening one converts it once to this form (see open()).
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
    // Starts such a table under a name beside path that no search takes for
    // a table, with nothing flushed to disk: a whole load goes in at the
    // speed of memory. publish() then makes it durable once and gives it its
    // name; a program stopped before that leaves no table under the name.
    static std::unique_ptr<SqliteStore> build(const std::string& path, const FieldList& fields);
    // Ends the build (outside a bulk): folds the log into the file, flushes
    // the file, renames it into place and reopens it there, every later
    // commit flushed. The caller flushes the folder, once for all the tables
    // it published (SyncDirectoryOf).
    void publish();
    bool building() const { return !target_.empty(); }
    // Opens the table. A table of the older form is converted when
    // convertible accepts its fields (any fields when it is not given): built
    // whole beside it with every record and id kept, made durable and renamed
    // over it, so a program stopped meanwhile leaves the old table or the
    // new one. Otherwise it is refused and left as it was.
    using FieldCheck = std::function<bool(const FieldList&)>;
    static std::unique_ptr<SqliteStore> open(const std::string& path,
                                             const FieldCheck& convertible = {});
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

    // Adds a field at the end of the layout with SQLite's ALTER TABLE ... ADD
    // COLUMN, in a transaction of its own; existing records hold null in it.
    // Raises when the table has a field of that name already.
    void addColumn(const FieldDef& field);

    // Whether a commit waits until the disk has the data. On by default;
    // only measurements of the work around the flush switch it off.
    void setFlushToDisk(bool on);

    // Where build() makes the table for path.
    static std::string buildingPath(const std::string& path);

private:
    explicit SqliteStore(std::string path);

    static std::unique_ptr<SqliteStore> startBuild(const std::string& path,
                                                   const FieldList& fields);
    static std::unique_ptr<SqliteStore> convert(std::unique_ptr<SqliteStore> older,
                                                const FieldCheck& convertible);

    void connect(int flags);
    void configure();
    void createSchema(const FieldList& fields, const std::string& table);
    void requireOurs();
    int layoutVersion();
    void readLayout();
    FieldList readOlderLayout();
    std::vector<StoredRow> readRows(sqlite3_stmt* select, size_t columns);
    void copyRows(const std::vector<StoredRow>& rows);
    void emptyLog();
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

    void closeConnection();

    std::string path_;
    std::string target_; // the name a table being built will take
    sqlite3* db_ = nullptr;
    std::string table_; // the SQLite table's name, quoted
    FieldList fields_;
    int bulk_ = 0;
    bool bulkBroken_ = false;
    sqlite3_stmt* insert_ = nullptr;
    sqlite3_stmt* update_ = nullptr;
    sqlite3_stmt* remove_ = nullptr;
    sqlite3_stmt* select_ = nullptr;
};

} // namespace brimlo
