#include "master/MainTables.h"

#include "common/FileBytes.h"
#include "common/RawSqlite.h"
#include "common/TempDir.h"
#include "support/BrimloError.h"
#include "support/DefaultsLayout.h"
#include "support/ParadoxTable.h"
#include "support/SqliteStore.h"
#include "support/TableFiles.h"

#include <ctime>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <utility>

using namespace brimlo;
using brimlo::testing::ReadBytes;
using brimlo::testing::TempDir;
using brimlo::testing::WriteBytes;
namespace fs = std::filesystem;

namespace {

std::string Dir(const TempDir& temp) {
    return temp.path().string() + "/";
}

Date LocalToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return Date::fromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

// What a table file looks like from outside: its bytes and its date.
using Snapshot = std::pair<std::string, fs::file_time_type>;

Snapshot Take(const fs::path& path) {
    return {ReadBytes(path), fs::last_write_time(path)};
}

TEST(MainTables, FirstStartCreatesBothTablesAndALaterStartChangesNothing) {
    TempDir temp;
    {
        MainTables tables(Dir(temp));
        EXPECT_TRUE(tables.defaultsCreated());
        Dataset& d = tables.defaults();
        ASSERT_EQ(1, d.recordCount());
        d.first();
        const std::pair<const char*, const char*> texts[] = {
            {"SPECIES", "SP"},      {"CONDCODE", "GR"},     {"PRODCODE", "01"},
            {"HSPECIES", "SP"},     {"HCONDCODE", "GR"},    {"HPRODCODE", "01"},
            {"VOL_CALC_METH", "S"}, {"SAWLOGS", "N"},       {"CULLMETHTYPE1", "6"},
            {"CULLMETHTYPE2", "8"}, {"CULLMETHTYPE3", "1"}, {"CULLMETHTYPE4", "3"},
            {"CULLMETHTYPE5", "3"}, {"CULLMETHTYPE6", "5"}, {"CULLMETHTYPE7", "2"}};
        for (const auto& [field, text] : texts)
            EXPECT_EQ(text, d.field(field).asString()) << field;
        EXPECT_EQ(48, d.field("LENGTH").asInt());
        EXPECT_EQ(LocalToday(), d.field("DATEWEIGHED").asDate());
        int set = 0; // the fields above; every other one is empty
        for (const FieldDef& field : d.fields())
            set += d.field(field.name).isNull() ? 0 : 1;
        EXPECT_EQ(17, set);
        EXPECT_EQ(37u, d.fields().size());
        EXPECT_TRUE(tables.masterIsEmpty());
        EXPECT_EQ("", tables.defaultDataPath());
        d.edit();
        d.setField("TRIM_ALLOWANCE", Value("T"));
        d.post();
    }
    // A later start keeps the record and writes to neither table; it opens
    // the master table the first start created, 105 fields and no record.
    const Snapshot defaults = Take(temp / "defaults.db");
    const Snapshot master = Take(temp / "master.db");
    {
        MainTables second(Dir(temp));
        EXPECT_FALSE(second.defaultsCreated());
        ASSERT_EQ(1, second.defaults().recordCount());
        second.defaults().first();
        EXPECT_EQ("T", second.defaults().field("TRIM_ALLOWANCE").asString());
        EXPECT_TRUE(second.masterIsEmpty());
    }
    EXPECT_TRUE(defaults == Take(temp / "defaults.db"));
    EXPECT_TRUE(master == Take(temp / "master.db"));
}

TEST(MainTables, ExistingEmptyDefaultsTableIsNotFilled) {
    TempDir temp;
    SqliteStore::create((temp / "defaults.db").string(), DefaultsFields());
    MainTables tables(Dir(temp));
    EXPECT_FALSE(tables.defaultsCreated());
    EXPECT_TRUE(tables.defaults().isEmpty());
    EXPECT_EQ("", tables.defaultDataPath());
}

// A table the program cannot use stops the start with an error that names
// the file, and the file stays as it was.
void ExpectRefused(const TempDir& temp, const std::string& file) {
    const Snapshot before = Take(temp / file);
    try {
        MainTables tables(Dir(temp));
        ADD_FAILURE() << file << " was accepted";
    } catch (const BrimloError& error) {
        EXPECT_NE(std::string::npos, error.text().find((temp / file).string())) << error.text();
    }
    EXPECT_TRUE(before == Take(temp / file)) << file << " was changed";
}

// A table spoiled after a first start, one way per row.
struct Spoiled {
    const char* name;
    const char* file;
    std::function<void(const fs::path&)> spoil;
};

void Cut(const fs::path& path, std::size_t size) {
    WriteBytes(path, ReadBytes(path).substr(0, size));
}

// Another program's SQLite database, refused before anything (its journal
// mode) is changed in it.
void ForeignSqlite(const fs::path& path) {
    DeleteTable(path.string());
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(path.string().c_str(), &db));
    sqlite3_exec(db, "CREATE TABLE notes(text); INSERT INTO notes VALUES('kept')", nullptr, nullptr,
                 nullptr);
    sqlite3_close(db);
}

// A defaults table one column short, of this version's format or of 1.1
// (written with SQLite alone), keeps its record and gains the trim
// allowance; one of any other layout is refused before anything touches it.
TEST(MainTables, OlderDefaultsTableGainsTrimAllowanceOnlyWhenItsLayoutFits) {
    for (const bool version11 : {false, true}) {
        for (const size_t dropped : {1u, 2u}) {
            SCOPED_TRACE(std::to_string(version11) + " " + std::to_string(dropped));
            TempDir temp;
            const std::string path = (temp / "defaults.db").string();
            FieldList fields = DefaultsFields();
            fields.resize(fields.size() - dropped);
            if (version11) {
                brimlo::testing::WriteVersion11Table(
                    path, fields,
                    {"INSERT INTO records(rid, c0, c33) VALUES(1, X'5020', CAST('/srv/loads' AS "
                     "BLOB))"});
            } else {
                Record values(fields.size());
                values[0] = Value("P ");
                values[33] = Value("/srv/loads");
                SqliteStore::create(path, fields)->insert(values);
            }
            if (dropped == 2) {
                ExpectRefused(temp, "defaults.db");
                continue;
            }
            MainTables tables(Dir(temp));
            Dataset& d = tables.defaults();
            EXPECT_EQ(DefaultsFields(), d.fields());
            ASSERT_EQ(1, d.recordCount());
            d.first();
            EXPECT_EQ("P ", d.field("SPECIES").asString());
            EXPECT_TRUE(d.field("TRIM_ALLOWANCE").isNull());
            EXPECT_EQ("/srv/loads", tables.defaultDataPath());
        }
    }
}

const Spoiled kSpoiled[] = {
    {"ForeignMasterFile", "master.db",
     [](const fs::path& p) { WriteBytes(p, std::string(4096, 'x')); }},
    {"TruncatedMasterFile", "master.db", [](const fs::path& p) { Cut(p, 300); }},
    {"MasterFileOfAnotherLayout", "master.db",
     [](const fs::path& p) {
         ParadoxTable::create(p.string(),
                              {{"MILLCODE", FieldType::Alpha, 2}, {"POP", FieldType::Short, 0}});
     }},
    {"ForeignDefaultsFile", "defaults.db",
     [](const fs::path& p) { WriteBytes(p, std::string(3000, '\x5a')); }},
    {"ForeignSqliteDefaultsFile", "defaults.db", ForeignSqlite},
    {"EmptyDefaultsFile", "defaults.db", [](const fs::path& p) { WriteBytes(p, ""); }},
    {"TruncatedDefaultsFile", "defaults.db", [](const fs::path& p) { Cut(p, 100); }},
};

TEST(MainTables, ASpoiledTableIsRefusedUnaltered) {
    for (const Spoiled& row : kSpoiled) {
        SCOPED_TRACE(row.name);
        TempDir temp;
        { MainTables first(Dir(temp)); }
        row.spoil(temp / row.file);
        ExpectRefused(temp, row.file);
    }
}

} // namespace
