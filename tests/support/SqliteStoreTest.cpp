#include "support/SqliteStore.h"

#include "common/ErrorText.h"
#include "common/FileBytes.h"
#include "common/FileSizeLimit.h"
#include "common/RawSqlite.h"
#include "common/TempDir.h"
#include "support/BrimloError.h"
#include "support/Dataset.h"
#include "support/DefaultsLayout.h"
#include "support/TableFiles.h"

#include <algorithm>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace brimlo {
namespace {

using testing::ErrorText;
using testing::FileSizeLimit;
using ::testing::HasSubstr;
using testing::QueryRows;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteVersion11Table;

FieldList AllKinds() {
    return {{"LOGNUM", FieldType::Long},  {"NAME", FieldType::Alpha, 20},
            {"TOPD", FieldType::Short},   {"VOL", FieldType::Number},
            {"WEIGHED", FieldType::Date}, {"DONE", FieldType::Logical}};
}

const FieldList kName = {{"NAME", FieldType::Alpha, 10}};

void AddLogs(Dataset& ds, std::initializer_list<int> numbers) {
    for (int n : numbers) {
        ds.insert();
        ds.setField("LOGNUM", n);
        ds.post();
    }
}

std::vector<std::string> NamesIn(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class SqliteStoreTest : public ::testing::Test {
protected:
    TempDir dir;
    const std::string path = dir / "Log1.db";
};

// A closed table is one file holding every kind of value, byte for byte,
// the fields left empty, and the updates, deletes and pack made to it.
TEST_F(SqliteStoreTest, RecordsLayoutAndChangesSurviveReopening) {
    const Record full = {2,
                         std::string("Caf\xE9 \x80\x9F\xFF", 9) + std::string(1, '\0') + "z",
                         -32768,
                         0.1 + 0.2,
                         Date::fromYmd(1999, 12, 31),
                         true};
    const Record empty = {1, {}, {}, {}, {}, {}}; // every other field left empty
    {
        auto store = SqliteStore::create(path, AllKinds());
        for (const Record& r : {full, Record{3, "gone"}, empty, Record{4}})
            store->insert(r);
        Dataset ds(std::move(store));
        ds.first();
        ds.next();
        ds.remove();
        ds.next();
        ds.edit();
        ds.setField("NAME", "changed");
        ds.post();
        const Bookmark mark = ds.bookmark(); // a pack keeps records and bookmarks
        ds.pack();
        EXPECT_EQ(ds.recordCount(), 3);
        ds.first();
        ds.gotoBookmark(mark);
        EXPECT_EQ(ds.field("LOGNUM").asInt(), 4);
    }
    EXPECT_EQ(NamesIn(dir), std::vector<std::string>{"Log1.db"});
    auto store = SqliteStore::open(path);
    EXPECT_EQ(store->fields(), AllKinds());
    Dataset ds(std::move(store), "LOGNUM");
    ASSERT_EQ(ds.recordCount(), 3);
    EXPECT_EQ(ds.recordAt(0), empty);
    EXPECT_EQ(ds.recordAt(1), full);
    EXPECT_EQ(ds.recordAt(2), (Record{4, "changed", {}, {}, {}, {}}));
}

// A table is made whole elsewhere and then takes its name: an existing table,
// the log a killed program left beside it and what a killed creation left
// are cleared, and nothing else stays.
TEST_F(SqliteStoreTest, CreateReplacesAnExistingTableAndEveryLeftover) {
    const std::string keptLog = dir / "kept-wal";
    {
        // the log of a table still open is what a killed program leaves
        Dataset ds(SqliteStore::create(path, AllKinds()));
        AddLogs(ds, {1});
        std::filesystem::copy_file(path + "-wal", keptLog);
    }
    std::filesystem::rename(keptLog, path + "-wal");
    testing::WriteBytes(dir / "~Log1.new", "x");
    testing::WriteBytes(dir / "~Log1.new-journal", "x");
    const FieldList other = {{"ONLY", FieldType::Short}};
    SqliteStore::create(path, other);
    auto store = SqliteStore::open(path);
    EXPECT_EQ(store->fields(), other);
    EXPECT_TRUE(store->readAll().empty());
    const std::vector<std::string> names = NamesIn(dir);
    for (const std::string& name : names)
        EXPECT_EQ(name.rfind("Log1.db", 0), 0u) << name;
    EXPECT_EQ(names.at(0), "Log1.db");
}

// A table being built has no name yet, so a program stopped while filling it
// leaves no table; publishing gives it its name with its records, and it
// takes posts and bulk work as any table does.
TEST_F(SqliteStoreTest, ABuiltTableTakesItsNameWithItsRecordsWhenPublished) {
    Dataset ds(SqliteStore::build(path, AllKinds()), "LOGNUM");
    AddLogs(ds, {2, 1});
    EXPECT_FALSE(std::filesystem::exists(path));
    dynamic_cast<SqliteStore&>(ds.store()).publish();
    EXPECT_FALSE(std::filesystem::exists(SqliteStore::buildingPath(path)));
    // bulk work reaches the file at the outer end
    ds.beginBulk();
    ds.beginBulk();
    AddLogs(ds, {3, 4});
    ds.endBulk();
    EXPECT_EQ(SqliteStore::open(path)->readAll().size(), 2u);
    ds.endBulk();
    EXPECT_EQ(SqliteStore::open(path)->readAll().size(), 4u);
}

// A missing, empty or foreign file, and a table of version 1.1 that cannot be
// converted as it is, are refused with the file's name and left byte for byte
// as they were, nothing made beside them.
TEST_F(SqliteStoreTest, FilesThatCannotBeOpenedAreRefusedByNameAndUntouched) {
    const auto refuseAll = [](const FieldList&) { return false; };
    const struct {
        const char* name;
        std::optional<std::string> bytes; // none: no such file
        const char* change = nullptr;     // made to a sound 1.1 table instead
        SqliteStore::FieldCheck convertible = {};
    } cases[] = {
        {"Header9.db", {}},
        {"defaults.db", ""},
        {"Header2.db", "SQLite format 2 and then something else entirely"},
        {"Log9.db", std::string(3000, 'p')},
        {"Header1.db", {}, "", refuseAll}, // fields not wanted
        {"Header3.db", {}, "UPDATE layout SET type = 9 WHERE pos = 1"},
        {"Header4.db", {}, "DROP TABLE records"},
        {"Header5.db", {}, "PRAGMA user_version = 3"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string path = dir / c.name;
        if (c.bytes)
            testing::WriteBytes(path, *c.bytes);
        if (c.change) {
            WriteVersion11Table(path, AllKinds(), {"INSERT INTO records(rid, c1) VALUES(1, 'x')"});
            if (*c.change)
                QueryRows(path, c.change);
        }
        const std::string before = ReadBytes(path);
        const std::vector<std::string> names = NamesIn(dir);
        EXPECT_THAT(ErrorText([&] { SqliteStore::open(path, c.convertible); }), HasSubstr(path))
            << c.name;
        EXPECT_EQ(NamesIn(dir), names) << c.name;
        EXPECT_EQ(ReadBytes(path), before) << c.name;
    }
}

// What an office sees opening the file with SQLite's own tools.
TEST_F(SqliteStoreTest, ATableIsOneSqliteTableOfNamedTypedColumns) {
    const std::string path = dir / "defaults.db";
    {
        Dataset ds(SqliteStore::create(path, DefaultsFields()));
        ds.insert();
        ds.setField("SPECIES", "SP");
        ds.setField("LENGTH", 48);
        ds.setField("DATEWEIGHED", Date::fromYmd(1999, 12, 31));
        ds.post();
    }
    using Rows = std::vector<std::vector<std::string>>;
    EXPECT_EQ(QueryRows(path, "SELECT type, name FROM sqlite_master"),
              (Rows{{"table", "defaults"}}));
    const Rows columns = QueryRows(path, "SELECT name, type FROM pragma_table_info('defaults')");
    ASSERT_EQ(columns.size(), DefaultsFields().size());
    for (size_t i = 0; i < columns.size(); ++i)
        EXPECT_EQ(columns[i][0], DefaultsFields()[i].name);
    const std::pair<size_t, const char*> declared[] = {
        {0, "VARCHAR(2)"}, {3, "SMALLINT"}, {17, "INTEGER"}, {21, "DATE"}, {36, "VARCHAR(1)"}};
    for (const auto& [column, type] : declared)
        EXPECT_EQ(columns[column][1], type) << columns[column][0];
    EXPECT_EQ(QueryRows(path, "SELECT LENGTH, DATEWEIGHED FROM defaults WHERE SPECIES = 'SP'"),
              (Rows{{"48", "1999-12-31"}}));
}

// A file of version 1.1 is built here with SQLite alone; opening converts it
// once, keeping every record under its id, every byte of its texts, the
// records a killed program left in the log too.
TEST_F(SqliteStoreTest, Version11ConversionKeepsEveryRecord) {
    for (const bool inTheLog : {false, true}) {
        SCOPED_TRACE(inTheLog ? "records in the log" : "records in the file");
        TempDir dir;
        const std::string path = dir / "Log1.db";
        WriteVersion11Table(path, AllKinds(),
                            {"INSERT INTO records VALUES(2, 7, X'436166E9809F00FF', -32768, "
                             "0.1, 730119, 1)",
                             "INSERT INTO records(rid, c0) VALUES(5, 1)"},
                            inTheLog);
        ASSERT_EQ(std::filesystem::exists(path + "-wal"), inTheLog);
        for (int opening = 0; opening < 2; ++opening) {
            auto store = SqliteStore::open(path);
            EXPECT_EQ(store->fields(), AllKinds());
            const std::vector<StoredRow> rows = store->readAll();
            ASSERT_EQ(rows.size(), 2u);
            EXPECT_EQ(rows[0].id, 2);
            EXPECT_EQ(rows[0].values, (Record{7, std::string("Caf\xE9\x80\x9F\0\xFF", 8), -32768,
                                              0.1, Date::fromYmd(1999, 12, 31), true}));
            EXPECT_EQ(rows[1].id, 5);
            EXPECT_EQ(rows[1].values, (Record{1, {}, {}, {}, {}, {}}));
        }
        EXPECT_EQ(QueryRows(path, "SELECT name FROM sqlite_master"),
                  std::vector<std::vector<std::string>>{{"Log1"}});
        EXPECT_EQ(QueryRows(path, "SELECT WEIGHED FROM Log1 WHERE LOGNUM = 7"),
                  std::vector<std::vector<std::string>>{{"1999-12-31"}});
        EXPECT_FALSE(std::filesystem::exists(SqliteStore::buildingPath(path)));
    }
}

TEST_F(SqliteStoreTest, AddColumnAddsTheFieldOnceAtTheEnd) {
    FieldList older = DefaultsFields();
    ASSERT_EQ(older.back().name, "TRIM_ALLOWANCE");
    older.pop_back();
    SqliteStore::create(path, older)->insert({"SP"});
    SqliteStore::open(path)->addColumn(DefaultsFields().back());
    {
        Dataset ds(SqliteStore::open(path));
        EXPECT_EQ(ds.fields(), DefaultsFields());
        EXPECT_EQ(ds.field("SPECIES").asString(), "SP");
        EXPECT_TRUE(ds.field("TRIM_ALLOWANCE").isNull());
        ds.edit();
        ds.setField("TRIM_ALLOWANCE", "TF"); // one character wide
        ds.post();
    }
    auto store = SqliteStore::open(path);
    EXPECT_THROW(store->addColumn(DefaultsFields().back()), BrimloError);
    EXPECT_EQ(store->fields(), DefaultsFields());
    Dataset ds(std::move(store));
    EXPECT_EQ(ds.field("TRIM_ALLOWANCE").asString(), "T");
}

TEST_F(SqliteStoreTest, DeleteRemovesTheTableWithItsSideFiles) {
    const std::string path = dir / "Log3.db";
    SqliteStore::create(path, AllKinds());
    for (const char* side : {"-journal", "-wal", "-shm"})
        testing::WriteBytes(path + side, "x");
    testing::WriteBytes(dir / "Log3.PX", "x");
    testing::WriteBytes(dir / "Log33.db", "x");
    EXPECT_TRUE(TableExists(path));
    DeleteTable(path);
    EXPECT_FALSE(TableExists(path));
    EXPECT_EQ(NamesIn(dir), std::vector<std::string>{"Log33.db"});
    EXPECT_NO_THROW(DeleteTable(path)) << "deleting what is gone is no error";
    EXPECT_TRUE(IsTableSideFile("Header12.db-journal"));
    EXPECT_FALSE(IsTableSideFile("Header12.db"));
}

TEST_F(SqliteStoreTest, AFailedWriteLeavesRecordAndFileAsTheyWere) {
    Dataset ds(SqliteStore::create(path, AllKinds()));
    AddLogs(ds, {1});
    const std::string before = ReadBytes(path);

    ds.insert();
    ds.setField("LOGNUM", 2);
    {
        // the journal of the commit cannot be written
        FileSizeLimit limit(1);
        EXPECT_THAT(ErrorText([&] { ds.post(); }), HasSubstr(path));
    }
    EXPECT_EQ(ds.recordCount(), 1);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(SqliteStore::open(path)->readAll().size(), 1u);

    ds.post(); // the same store carries on once writing works again
    EXPECT_EQ(SqliteStore::open(path)->readAll().size(), 2u);

    // a failed bulk shows what the file holds
    ds.beginBulk();
    AddLogs(ds, {3});
    {
        FileSizeLimit limit(1);
        EXPECT_THROW(ds.endBulk(), BrimloError);
    }
    EXPECT_EQ(ds.recordCount(), 2);
    EXPECT_EQ(SqliteStore::open(path)->readAll().size(), 2u);
}

TEST_F(SqliteStoreTest, AReadOnlyTableRefusesThePostAndItsDirectoryACreate) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    SqliteStore::create(path, AllKinds());
    const std::string before = ReadBytes(path);
    chmod(path.c_str(), 0444);
    chmod(dir.path().c_str(), 0555);
    try {
        Dataset ds(SqliteStore::open(path));
        ds.insert();
        ds.setField("LOGNUM", 1);
        ds.setField("NAME", "pending");
        EXPECT_THROW(ds.post(), BrimloError);
        EXPECT_EQ(ds.state(), DatasetState::Insert);
        EXPECT_EQ(ds.field("NAME").asString(), "pending");
    } catch (const BrimloError& e) {
        // Refusing to open it at all is as good.
        EXPECT_THAT(e.text(), HasSubstr(path));
    }
    const std::string other = dir / "Header8.db";
    EXPECT_THAT(ErrorText([&] { SqliteStore::create(other, AllKinds()); }), HasSubstr(other));
    chmod(dir.path().c_str(), 0755);
    chmod(path.c_str(), 0644);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_TRUE(SqliteStore::open(path)->readAll().empty());
}

// Posts to a table whose file is gone from its folder would land in a file
// nobody finds again; each kind of write is refused with the table's name.
TEST_F(SqliteStoreTest, WritesToARemovedOrRenamedTableAreRefused) {
    for (const bool rename : {false, true}) {
        SCOPED_TRACE(rename ? "renamed" : "removed");
        auto store = SqliteStore::create(path, kName);
        SqliteStore::create(dir / "Log2.db", kName);
        std::filesystem::remove(dir / "Log2.db"); // a sibling going is no matter
        const RowId kept = store->insert({"KEPT"});
        store->beginBulk();
        store->insert({"TWO"});
        store->endBulk();
        EXPECT_EQ(SqliteStore::open(path)->readAll().size(), 2u);
        if (rename)
            std::filesystem::rename(path, dir / "Elsewhere.db");
        else
            std::filesystem::remove(path);
        const std::string refusal =
            "Cannot write table '" + path + "': the file has been removed or moved";
        EXPECT_EQ(ErrorText([&] { store->insert({"LOST"}); }), refusal);
        EXPECT_EQ(ErrorText([&] { store->update(kept, {"CHANGED"}); }), refusal);
        EXPECT_EQ(ErrorText([&] { store->remove(kept); }), refusal);
        EXPECT_EQ(ErrorText([&] { store->beginBulk(); }), refusal);
        // what was written before is still there to be read
        const std::vector<StoredRow> rows = store->readAll();
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0].values, Record{"KEPT"});
    }
}

} // namespace
} // namespace brimlo
