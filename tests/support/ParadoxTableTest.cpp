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
        {"ALPHA", 1, 256, 100.5, Date{728783}, true},
        {"", 0, 0, 0.0, Date{36160}, false},
        {"neg", -1, -2, -1.5, {}, {}},
        {"\xE9t\xE9 caf\xE9", 32767, 2147483647, 1e300, {}, true},
        {"x", -32767, -2147483647, -1e-300, Date{1}, {}},
        {"0123456789", {}, {}, {}, {}, {}},
        {"tiny", 2, -65536, -123456.789, Date{3652059}, false},
    };
}

// Records of every kind for tables made by hand.
std::vector<Record> ForeignRecords(int count) {
    std::vector<Record> records;
    for (int i = 0; i < count; ++i)
        records.push_back(
            {"r" + std::to_string(i), i, -i * 1000, i / 4.0, Date{700000 + i}, i % 2 == 0});
    return records;
}

std::vector<Record> ReadBack(const std::string& path) {
    return RecordsOf(ParadoxTable::open(path)->readAll());
}

void ExpectBothRead(const std::string& path, const std::vector<Record>& expected) {
    EXPECT_EQ(PxRead(path).records, expected) << "pxlib";
    EXPECT_EQ(ReadBack(path), expected) << "a fresh open";
}

class ParadoxTableTest : public ::testing::Test {
protected:
    testing::TempDir dir;
    const std::string path = dir / "table.db";
};

// Blank and overlong texts are kept as blank and cut to the field's width;
// master records fill many blocks, here in one bulk. pxlib reads what we
// write, field codes and widths as the reference has them, and we read what
// pxlib writes.
TEST_F(ParadoxTableTest, EveryValueRoundTripsThroughPxlibBothWays) {
    std::vector<Record> written = AllTypeRecords(), kept = AllTypeRecords(), masters;
    written.push_back({{}, {}, {}, {}, {}, {}});
    written.push_back({"ABCDEFGHIJKLMNOP"});
    kept.push_back({"", {}, {}, {}, {}, {}});
    kept.push_back({"ABCDEFGHIJ", {}, {}, {}, {}, {}});
    for (int k = 0; k < 137; ++k)
        masters.push_back(MasterRecordFor(k, k + 1000));
    const struct {
        FieldList fields;
        std::vector<Record> written, read;
        bool bulk;
    } cases[] = {{kAllTypes, written, kept, false},
                 {MasterLayoutForTests(), masters, masters, true}};
    for (const auto& c : cases) {
        auto table = ParadoxTable::create(path, c.fields);
        if (c.bulk)
            table->beginBulk();
        for (const Record& r : c.written)
            table->insert(r);
        if (c.bulk)
            table->endBulk();
        EXPECT_EQ(RecordsOf(table->readAll()), c.read);
        ExpectBothRead(path, c.read);
        EXPECT_EQ(PxRead(path).fields, RefFieldsOf(c.fields));
        EXPECT_EQ(ParadoxTable::open(path)->fields(), c.fields);

        testing::PxWrite(dir / "bypxlib.db", RefFieldsOf(c.fields), c.read);
        EXPECT_EQ(ParadoxTable::open(dir / "bypxlib.db")->fields(), c.fields);
        EXPECT_EQ(ReadBack(dir / "bypxlib.db"), c.read);
    }
}

// Tables of other block sizes, with the chain running backwards through the
// file, partly filled blocks and a free block, as another writer leaves them.
TEST_F(ParadoxTableTest, ReadsForeignBlockSizesAndChains) {
    const auto fields = RefFieldsOf(kAllTypes);
    const std::vector<Record> records = ForeignRecords(60);
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
    const std::vector<Record> records = ForeignRecords(40);
    testing::WriteHandMade(path, RefFieldsOf(kAllTypes), records,
                           {.blockKb = 1, .perBlock = 3, .reversed = true, .freeBlock = true});
    auto table = ParadoxTable::open(path);
    std::vector<StoredRow> rows = table->readAll();
    for (size_t i = 0; i < rows.size(); i += 2)
        table->remove(rows[i].id);
    const Record extra = {"new", -5, {}, 2.5, {}, false};
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
    std::vector<StoredRow> model;
    std::mt19937 random(7);
    int seed = 0;
    const auto insert = [&](int key) {
        const Record r = MasterRecordFor(key, ++seed);
        model.push_back({table->insert(r), r});
    };
    auto check = [&](const std::string& when) {
        const std::vector<StoredRow> rows = table->readAll();
        ASSERT_EQ(rows.size(), model.size()) << when;
        for (size_t i = 0; i < rows.size(); ++i)
            ASSERT_EQ(rows[i].id, model[i].id) << when;
        const std::vector<Record> expected = RecordsOf(model);
        ASSERT_EQ(RecordsOf(rows), expected) << when;
        ASSERT_EQ(ReadBack(path), expected) << when;
        ASSERT_EQ(PxRead(path).records, expected) << when;
    };
    for (int step = 0; step < 600; ++step) {
        const int op = static_cast<int>(random() % 10);
        if (model.empty() || op < 4 || (step > 300 && step < 340)) {
            insert(step);
        } else if (op < 7) {
            StoredRow& row = model[random() % model.size()];
            row.values = MasterRecordFor(step, ++seed);
            table->update(row.id, row.values);
        } else {
            // runs of removals empty whole blocks, the first and last among them
            const size_t at = op == 9 ? 0 : random() % model.size();
            table->remove(model[at].id);
            model.erase(model.begin() + static_cast<long>(at));
        }
        if (step % 25 == 0)
            check("step " + std::to_string(step));
    }
    check("end");
    for (; !model.empty(); model.pop_back())
        table->remove(model.back().id);
    check("emptied");
    EXPECT_EQ(std::filesystem::file_size(path), 4096u) << "only the header is left";
    for (int i = 0; i < 12; ++i)
        insert(i);
    for (long i = 9; i >= 0; i -= 3) { // every third, none emptying its block
        table->remove(model[static_cast<size_t>(i)].id);
        model.erase(model.begin() + i);
    }
    table->pack();
    EXPECT_EQ(PxRead(path).records, RecordsOf(model));
    EXPECT_EQ(RecordsOf(table->readAll()), RecordsOf(model));
    // 8 records of 751 bytes fill two 4k blocks
    EXPECT_EQ(std::filesystem::file_size(path), 4096u + 2 * 4096u);
}

TEST_F(ParadoxTableTest, PackInsideABulkKeepsTheBulksChanges) {
    auto table = ParadoxTable::create(path, kAllTypes);
    const RowId a = table->insert({"a"});
    table->beginBulk();
    table->insert({"b"});
    table->remove(a);
    table->pack();
    table->insert({"c"});
    table->endBulk();
    ExpectBothRead(path, {{"b", {}, {}, {}, {}, {}}, {"c", {}, {}, {}, {}, {}}});
}

// Numbers out of range are refused before anything is written.
TEST_F(ParadoxTableTest, OutOfRangeNumbersAndRemovedOrUnknownRowsAreRefused) {
    auto table = ParadoxTable::create(path, kAllTypes);
    EXPECT_THROW(table->insert({"a", 40000}), BrimloError);
    EXPECT_THROW(table->insert({"a", -32768}), BrimloError);
    EXPECT_EQ(table->recordCount(), 0u);
    EXPECT_TRUE(PxRead(path).records.empty());
    const RowId a = table->insert({"a"});
    const RowId b = table->insert({"b"});
    table->remove(a);
    EXPECT_THROW(table->update(a, {"x"}), BrimloError);
    EXPECT_THROW(table->remove(a), BrimloError);
    EXPECT_THROW(table->remove(12345), BrimloError);
    EXPECT_EQ(table->read(b)[0], Value("b"));
}

TEST_F(ParadoxTableTest, DamagedForeignAndKeyedFilesAreRefusedByNameAndReason) {
    auto table = ParadoxTable::create(dir / "good.db", kAllTypes);
    table->beginBulk();
    for (int i = 0; i < 900; ++i)
        table->insert({"g", i});
    table->endBulk();
    const std::string good = ReadBytes(dir / "good.db");
    const auto with = [&](std::initializer_list<std::pair<size_t, char>> changes) {
        std::string bytes = good;
        for (const auto& [at, byte] : changes)
            bytes[at] = byte;
        return bytes;
    };
    std::mt19937 random(3);
    std::string garbage;
    while (garbage.size() < 5000)
        garbage += static_cast<char>(random());
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
    // a keyed data table is read, never written
    WriteBytes(path, with({{4, 0}}));
    auto keyed = ParadoxTable::open(path);
    EXPECT_EQ(keyed->readAll().size(), 900u);
    EXPECT_THROW(keyed->insert({"x"}), BrimloError);
    EXPECT_THROW(keyed->pack(), BrimloError);
}

// Opened by its header, a table hands out the ids its chain gives; a change
// by another writer before the chain is read, or a record count the header
// has wrong, makes the ids of before no good.
TEST_F(ParadoxTableTest, HeaderOnlyOpenReadsTheChainWhenFirstNeeded) {
    auto writer = ParadoxTable::create(path, kAllTypes);
    writer->beginBulk();
    for (int i = 0; i < 300; ++i) // several blocks
        writer->insert({"r", i});
    writer->endBulk();
    const std::vector<RowId> whole = ParadoxTable::open(path)->ids();
    auto lazy = ParadoxTable::open(path, ParadoxTable::Open::HeaderOnly);
    ASSERT_EQ(lazy->ids(), whole);
    EXPECT_EQ(lazy->read(whole[299])[1], Value(299));

    lazy = ParadoxTable::open(path, ParadoxTable::Open::HeaderOnly);
    writer->insert({"new"});
    EXPECT_EQ(lazy->ids().size(), 301u);
    EXPECT_EQ(lazy->readAll().back().values[0], Value("new"));

    writer.reset();
    std::string bytes = ReadBytes(path);
    bytes.replace(6, 4, "\x01\x01\0\0", 4); // a header counting 257 records
    WriteBytes(path, bytes);
    lazy = ParadoxTable::open(path, ParadoxTable::Open::HeaderOnly);
    const std::vector<RowId> promised = lazy->ids();
    ASSERT_EQ(promised.size(), 257u);
    EXPECT_THROW(lazy->read(promised[0]), BrimloError);
    const std::vector<RowId> ids = lazy->ids();
    ASSERT_EQ(ids.size(), 301u);
    EXPECT_EQ(lazy->read(ids[0])[1], Value(0));
}

// The store reads ahead of the record asked for; what it read before a change
// is not served after it.
TEST_F(ParadoxTableTest, TheStoreServesNoRecordReadBeforeAChange) {
    auto store = ParadoxStore::create(path, kAllTypes);
    const RowId a = store->insert({"a"}), b = store->insert({"b"});
    EXPECT_EQ(store->read(a)[0], Value("a"));
    store->update(b, {"B"});
    EXPECT_EQ(store->read(b)[0], Value("B"));
    EXPECT_EQ(store->read(a)[0], Value("a"));
    store->remove(b);
    EXPECT_THROW(store->read(b), BrimloError);
}

} // namespace
} // namespace brimlo
