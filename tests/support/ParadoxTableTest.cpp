#include "support/ParadoxTable.h"

#include "ParadoxReference.h"
#include "common/ErrorText.h"
#include "common/FileBytes.h"
#include "common/TempDir.h"
#include "support/BrimloError.h"
#include "support/ParadoxStore.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <optional>
#include <random>

namespace brimlo {
namespace {

using testing::MasterLayoutForTests;
using testing::MasterRecordFor;
using testing::PxContents;
using testing::PxRead;
using testing::ReadBytes;
using testing::RecordsOf;
using testing::RefFieldsOf;
using testing::WriteBytes;

const FieldList kAllTypes = {{"NAME", FieldType::Alpha, 10}, {"SMALL", FieldType::Short, 0},
                             {"BIG", FieldType::Long, 0},    {"AMOUNT", FieldType::Number, 0},
                             {"WHEN", FieldType::Date, 0},   {"FLAG", FieldType::Logical, 0}};

// Values worth a round trip: blanks, zeros, negatives, the ends of the ranges,
// and dates with known day numbers (1 January 100 is day 36160, 4 May 1996 is
// day 728783 in the Paradox count).
std::vector<Record> AllTypeRecords() {
    return {
        {Value("ALPHA"), Value(1), Value(256), Value(100.5), Value(Date{728783}), Value(true)},
        {Value(""), Value(0), Value(0), Value(0.0), Value(Date{36160}), Value(false)},
        {Value("neg"), Value(-1), Value(-2), Value(-1.5), Value(), Value()},
        {Value("\xE9t\xE9 caf\xE9"), Value(32767), Value(2147483647), Value(1e300), Value(),
         Value(true)},
        {Value("x"), Value(-32767), Value(-2147483647), Value(-1e-300), Value(Date{1}), Value()},
        {Value("0123456789"), Value(), Value(), Value(), Value(), Value()},
        {Value("tiny"), Value(2), Value(-65536), Value(-123456.789), Value(Date{3652059}),
         Value(false)},
    };
}

std::vector<Record> ReadBack(const std::string& path) {
    return RecordsOf(ParadoxTable::open(path)->readAll());
}

// What pxlib and a fresh open of ours read in the table.
void ExpectBothRead(const std::string& path, const std::vector<Record>& expected) {
    EXPECT_EQ(PxRead(path).records, expected) << "pxlib";
    EXPECT_EQ(ReadBack(path), expected) << "a fresh open";
}

class ParadoxTableTest : public ::testing::Test {
protected:
    testing::TempDir dir;
    const std::string path = dir / "table.db";
};

// Blank and overlong texts are kept as blank and cut to the field's width.
TEST_F(ParadoxTableTest, EveryValueRoundTripsThroughPxlibBothWays) {
    auto table = ParadoxTable::create(path, kAllTypes);
    for (const Record& r : AllTypeRecords())
        table->insert(r);
    table->insert({Value(), Value(), Value(), Value(), Value(), Value()});
    table->insert({Value("ABCDEFGHIJKLMNOP")});
    std::vector<Record> expected = AllTypeRecords();
    expected.push_back({Value(""), Value(), Value(), Value(), Value(), Value()});
    expected.push_back({Value("ABCDEFGHIJ"), Value(), Value(), Value(), Value(), Value()});

    const PxContents px = PxRead(path);
    ASSERT_EQ(px.fields.size(), kAllTypes.size());
    const int codes[] = {1, 3, 4, 6, 2, 9};
    const int widths[] = {10, 2, 4, 8, 4, 1};
    for (size_t i = 0; i < kAllTypes.size(); ++i) {
        EXPECT_EQ(px.fields[i].name, kAllTypes[i].name);
        EXPECT_EQ(px.fields[i].code, codes[i]);
        EXPECT_EQ(px.fields[i].width, widths[i]);
    }
    EXPECT_EQ(RecordsOf(table->readAll()), expected);
    ExpectBothRead(path, expected);

    testing::PxWrite(dir / "bypxlib.db", RefFieldsOf(kAllTypes), AllTypeRecords());
    EXPECT_EQ(ParadoxTable::open(dir / "bypxlib.db")->fields(), kAllTypes);
    EXPECT_EQ(ReadBack(dir / "bypxlib.db"), AllTypeRecords());
}

TEST_F(ParadoxTableTest, MasterRecordsAcrossBlocksBothWays) {
    const FieldList layout = MasterLayoutForTests();
    ASSERT_EQ(layout.size(), 105u);
    std::vector<Record> expected;
    for (int k = 0; k < 137; ++k)
        expected.push_back(MasterRecordFor(k, k + 1000));

    const std::string ours = dir / "ours.db";
    auto table = ParadoxTable::create(ours, layout);
    table->beginBulk();
    for (const Record& r : expected)
        table->insert(r);
    table->endBulk();
    ExpectBothRead(ours, expected);
    const PxContents px = PxRead(ours);
    ASSERT_EQ(px.fields.size(), 105u);
    EXPECT_EQ(px.fields[0].name, "MILLCODE");
    EXPECT_EQ(px.fields[11].name, "WEIGH_DATE");
    EXPECT_EQ(px.fields[11].code, 2);
    EXPECT_EQ(px.fields[103].name, "NUM_GROUPS");
    EXPECT_EQ(px.fields[104].name, "TOTALLOGS");
    EXPECT_EQ(ParadoxTable::open(ours)->fields(), layout);

    const std::string theirs = dir / "theirs.db";
    testing::PxWrite(theirs, RefFieldsOf(layout), expected);
    EXPECT_EQ(ReadBack(theirs), expected);
}

// Tables of other block sizes, with the chain running backwards through the
// file, partly filled blocks and a free block, as another writer leaves them.
TEST_F(ParadoxTableTest, ReadsForeignBlockSizesAndChains) {
    const auto fields = RefFieldsOf(kAllTypes);
    std::vector<Record> records;
    for (int i = 0; i < 60; ++i)
        records.push_back({Value("r" + std::to_string(i)), Value(i), Value(-i * 1000),
                           Value(i / 4.0), Value(Date{700000 + i}), Value(i % 2 == 0)});
    for (int kb : {1, 2, 3, 4, 8, 16, 32}) {
        for (bool reversed : {false, true}) {
            for (int version : {0x0C, 0x09}) {
                testing::HandMadeOptions o{
                    .blockKb = kb, .version = version, .perBlock = 7, .reversed = reversed};
                const std::string path = dir / ("hand" + std::to_string(kb) + ".db");
                testing::WriteHandMade(path, fields, records, o);
                SCOPED_TRACE(std::to_string(kb) + "k, version " + std::to_string(version));
                ExpectBothRead(path, records);
                o.freeBlock = true;
                testing::WriteHandMade(path, fields, records, o);
                EXPECT_EQ(ReadBack(path), records) << kb << "k with a free block";
            }
        }
    }
}

TEST_F(ParadoxTableTest, ChangesToAForeignTableStayReadableByPxlib) {
    const auto fields = RefFieldsOf(kAllTypes);
    std::vector<Record> records;
    for (int i = 0; i < 40; ++i)
        records.push_back({Value("f" + std::to_string(i)), Value(i), Value(i), Value(i * 1.0),
                           Value(Date{i + 1}), Value(true)});
    testing::WriteHandMade(path, fields, records,
                           {.blockKb = 1, .perBlock = 3, .reversed = true, .freeBlock = true});
    auto table = ParadoxTable::open(path);
    std::vector<StoredRow> rows = table->readAll();
    for (size_t i = 0; i < rows.size(); i += 2)
        table->remove(rows[i].id);
    const Record extra = {Value("new"), Value(-5), Value(), Value(2.5), Value(), Value(false)};
    table->insert(extra);
    table->insert(extra);
    std::vector<Record> expected;
    for (size_t i = 1; i < records.size(); i += 2)
        expected.push_back(records[i]);
    expected.push_back(extra);
    expected.push_back(extra);
    EXPECT_EQ(RecordsOf(table->readAll()), expected);
    ExpectBothRead(path, expected);
    table->pack();
    ExpectBothRead(path, expected);
}

// Random appends, replacements and removals against a plain list of what
// the table must hold, checked through our reader, a fresh open and pxlib.
TEST_F(ParadoxTableTest, AppendReplaceRemoveAndPackFollowAModel) {
    // the order of the writes is what is checked here, not their flushing
    auto table = ParadoxTable::create(path, MasterLayoutForTests());
    table->setShortcuts({.flush = false});
    std::vector<std::pair<RowId, Record>> model;
    std::mt19937 random(7);
    int seed = 0;
    auto check = [&](const std::string& when) {
        std::vector<Record> expected;
        for (const auto& [id, r] : model)
            expected.push_back(r);
        const std::vector<StoredRow> rows = table->readAll();
        ASSERT_EQ(rows.size(), model.size()) << when;
        for (size_t i = 0; i < rows.size(); ++i)
            ASSERT_EQ(rows[i].id, model[i].first) << when;
        ASSERT_EQ(RecordsOf(rows), expected) << when;
        ASSERT_EQ(ReadBack(path), expected) << when;
        ASSERT_EQ(PxRead(path).records, expected) << when;
    };
    for (int step = 0; step < 600; ++step) {
        const int op = static_cast<int>(random() % 10);
        if (model.empty() || op < 4 || (step > 300 && step < 340)) {
            Record r = MasterRecordFor(step, ++seed);
            model.emplace_back(table->insert(r), r);
        } else if (op < 7) {
            auto& [id, r] = model[random() % model.size()];
            r = MasterRecordFor(step, ++seed);
            table->update(id, r);
        } else {
            // runs of removals empty whole blocks, the first and last among them
            const size_t at = op == 9 ? 0 : random() % model.size();
            table->remove(model[at].first);
            model.erase(model.begin() + static_cast<long>(at));
        }
        if (step % 25 == 0)
            check("step " + std::to_string(step));
    }
    check("end");
    while (!model.empty()) {
        table->remove(model.back().first);
        model.pop_back();
    }
    check("emptied");
    EXPECT_EQ(std::filesystem::file_size(path), 4096u) << "only the header is left";
    for (int i = 0; i < 12; ++i) {
        Record r = MasterRecordFor(i, ++seed);
        model.emplace_back(table->insert(r), r);
    }
    for (int i = 0; i < 12; i += 3) {
        table->remove(model[static_cast<size_t>(i)].first);
    }
    table->pack();
    std::vector<Record> kept;
    for (size_t i = 0; i < model.size(); ++i)
        if (i % 3 != 0)
            kept.push_back(model[i].second);
    EXPECT_EQ(PxRead(path).records, kept);
    EXPECT_EQ(RecordsOf(table->readAll()), kept);
    // 8 records of 751 bytes fill two 4k blocks
    EXPECT_EQ(std::filesystem::file_size(path), 4096u + 2 * 4096u);
}

TEST_F(ParadoxTableTest, PackInsideABulkKeepsTheBulksChanges) {
    auto table = ParadoxTable::create(path, kAllTypes);
    const RowId a = table->insert({Value("a")});
    table->beginBulk();
    table->insert({Value("b")});
    table->remove(a);
    table->pack();
    table->insert({Value("c")});
    table->endBulk();
    const Record b = {Value("b"), Value(), Value(), Value(), Value(), Value()};
    const Record c = {Value("c"), Value(), Value(), Value(), Value(), Value()};
    ExpectBothRead(path, {b, c});
}

// Numbers out of range are refused before anything is written.
TEST_F(ParadoxTableTest, OutOfRangeNumbersAndRemovedOrUnknownRowsAreRefused) {
    auto table = ParadoxTable::create(path, kAllTypes);
    EXPECT_THROW(table->insert({Value("a"), Value(40000)}), BrimloError);
    EXPECT_THROW(table->insert({Value("a"), Value(-32768)}), BrimloError);
    EXPECT_EQ(table->recordCount(), 0u);
    EXPECT_TRUE(PxRead(path).records.empty());
    const RowId a = table->insert({Value("a")});
    const RowId b = table->insert({Value("b")});
    table->remove(a);
    EXPECT_THROW(table->update(a, {Value("x")}), BrimloError);
    EXPECT_THROW(table->remove(a), BrimloError);
    EXPECT_THROW(table->remove(12345), BrimloError);
    EXPECT_EQ(table->read(b)[0], Value("b"));
}

TEST_F(ParadoxTableTest, CreateReplacesAnExistingTable) {
    ParadoxTable::create(path, kAllTypes)->insert({Value("old")});
    const FieldList other = {{"ONLY", FieldType::Long, 0}};
    auto table = ParadoxTable::create(path, other);
    EXPECT_EQ(table->fields(), other);
    EXPECT_EQ(table->recordCount(), 0u);
    EXPECT_TRUE(PxRead(path).records.empty());
}

// Each refusal names the file and what is wrong with it.
TEST_F(ParadoxTableTest, DamagedAndForeignFilesAreRefusedByNameAndReason) {
    auto table = ParadoxTable::create(dir / "good.db", kAllTypes);
    table->beginBulk();
    for (int i = 0; i < 900; ++i)
        table->insert({Value("g"), Value(i)});
    table->endBulk();
    const std::string good = ReadBytes(dir / "good.db");
    const auto with = [&](std::initializer_list<std::pair<size_t, char>> changes) {
        std::string bytes = good;
        for (const auto& [at, byte] : changes)
            bytes[at] = byte;
        return bytes;
    };
    std::string garbage(5000, '\0');
    std::mt19937 random(3);
    for (char& c : garbage)
        c = static_cast<char>(random());
    const size_t block1 =
        static_cast<unsigned char>(good[2]) + 256u * static_cast<unsigned char>(good[3]);
    const struct {
        const char* name;
        std::optional<std::string> bytes;
        const char* why;
    } cases[] = {
        {"missing.db", {}, "cannot be opened"},
        {"empty.db", "", "too short"},
        {"garbage.db", garbage, "not a Paradox table"},
        {"dbase.db", "\x03" + std::string(599, ' '), "not a Paradox table"}, // dBase III
        {"cut.db", good.substr(0, good.size() - 100), "truncated"},
        {"cuthead.db", good.substr(0, 1000), "truncated"},
        {"secret.db", with({{0x5C, 0x12}}), "encrypted"},             // a password's code, level 4+
        {"index.db", with({{4, 1}}), "index"},                        // a primary index file
        {"memo.db", with({{0x78, 0x0C}}), "NAME"},                    // the first field made a memo
        {"loop.db", with({{block1, 1}, {block1 + 1, 0}}), "damaged"}, // block 1 next to itself
    };
    for (const auto& c : cases) {
        const std::string path = dir / c.name;
        if (c.bytes)
            WriteBytes(path, *c.bytes);
        const std::string error = testing::ErrorText([&] { ParadoxTable::open(path); });
        EXPECT_THAT(error, ::testing::HasSubstr(path));
        EXPECT_THAT(error, ::testing::HasSubstr(c.why));
    }
}

TEST_F(ParadoxTableTest, KeyedTablesAreReadOnly) {
    ParadoxTable::create(path, kAllTypes)->insert({Value("k"), Value(1)});
    std::string bytes = ReadBytes(path);
    bytes[4] = 0; // keyed data table
    WriteBytes(path, bytes);
    auto table = ParadoxTable::open(path);
    EXPECT_EQ(table->readAll().size(), 1u);
    EXPECT_THROW(table->insert({Value("x")}), BrimloError);
    EXPECT_THROW(table->pack(), BrimloError);
}

// Opened by its header, a table hands out the ids its chain gives; a change
// by another writer before the chain is read, or a record count the header
// has wrong, makes the ids of before no good.
TEST_F(ParadoxTableTest, HeaderOnlyOpenReadsTheChainWhenFirstNeeded) {
    auto writer = ParadoxTable::create(path, kAllTypes);
    writer->beginBulk();
    for (int i = 0; i < 300; ++i) // several blocks
        writer->insert({Value("r"), Value(i)});
    writer->endBulk();
    const std::vector<RowId> whole = ParadoxTable::open(path)->ids();
    auto lazy = ParadoxTable::open(path, ParadoxTable::Open::HeaderOnly);
    ASSERT_EQ(lazy->ids(), whole);
    EXPECT_EQ(lazy->read(whole[299])[1], Value(299));

    lazy = ParadoxTable::open(path, ParadoxTable::Open::HeaderOnly);
    writer->insert({Value("new")});
    EXPECT_EQ(lazy->ids().size(), 301u);
    EXPECT_EQ(lazy->readAll().back().values[0], Value("new"));

    writer.reset();
    std::string bytes = ReadBytes(path);
    bytes[6] = 1; // a header counting 257 records
    bytes[7] = 1;
    bytes[8] = bytes[9] = 0;
    WriteBytes(path, bytes);
    lazy = ParadoxTable::open(path, ParadoxTable::Open::HeaderOnly);
    const std::vector<RowId> promised = lazy->ids();
    ASSERT_EQ(promised.size(), 257u);
    EXPECT_THROW(lazy->read(promised[0]), BrimloError);
    const std::vector<RowId> ids = lazy->ids();
    ASSERT_EQ(ids.size(), 301u);
    EXPECT_EQ(lazy->read(ids[0])[1], Value(0));
}

TEST(ParadoxStoreTest, OpenOrCreateAndTheStoreInterface) {
    testing::TempDir dir;
    const std::string path = dir / "master.db";
    const FieldList layout = MasterLayoutForTests();
    std::unique_ptr<TableStore> store = ParadoxStore::openOrCreate(path, layout);
    EXPECT_EQ(store->fields(), layout);
    const RowId a = store->insert(MasterRecordFor(1, 1));
    EXPECT_EQ(store->read(a), MasterRecordFor(1, 1));
    store->beginBulk();
    store->beginBulk();
    const RowId b = store->insert(MasterRecordFor(2, 2));
    store->endBulk();
    store->update(a, MasterRecordFor(1, 3));
    store->endBulk();
    // A record read before a change is not served after it.
    EXPECT_EQ(store->read(a), MasterRecordFor(1, 3));
    store->remove(b);
    store->pack();
    store = ParadoxStore::openOrCreate(path, layout);
    const std::vector<StoredRow> rows = store->readAll();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].values, MasterRecordFor(1, 3));
}

} // namespace
} // namespace brimlo
