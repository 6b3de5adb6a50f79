#include "ParadoxReference.h"
#include "common/ErrorText.h"
#include "common/FileBytes.h"
#include "common/FileSizeLimit.h"
#include "common/ForkedProcess.h"
#include "common/TempDir.h"
#include "support/BrimloError.h"
#include "support/JournaledFile.h"
#include "support/ParadoxTable.h"

#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brimlo {
namespace {

using testing::ErrorText;
using ::testing::HasSubstr;
using testing::ReadBytes;
using testing::WriteBytes;

void Le(std::string& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i, v >>= 8)
        out += static_cast<char>(v & 0xFF);
}

uint64_t Fnv(const std::string& bytes) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : bytes)
        hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

// A rollback journal as the table at path leaves it just before it writes:
// the table's identity (device, inode, sizes, its header page before and
// after, in 512-byte pieces) and the original bytes of the ranges it is
// about to overwrite.
std::string JournalOf(const std::string& path, const std::string& original,
                      const std::string& changed,
                      const std::vector<std::pair<size_t, size_t>>& ranges) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    const size_t header =
        static_cast<unsigned char>(original[2]) + 256u * static_cast<unsigned char>(original[3]);
    std::string j("BRJRNL2", 8);
    Le(j, original.size(), 8);
    Le(j, ranges.size(), 4);
    Le(j, 0, 4);
    Le(j, st.st_dev, 8);
    Le(j, st.st_ino, 8);
    Le(j, changed.size(), 8);
    Le(j, header, 4);
    Le(j, (header + 511) / 512, 4);
    for (size_t at = 0; at < header; at += 512) {
        Le(j, Fnv(original.substr(at, std::min<size_t>(512, header - at))), 8);
        Le(j, Fnv(changed.substr(at, std::min<size_t>(512, header - at))), 8);
    }
    for (const auto& [offset, length] : ranges) {
        Le(j, offset, 8);
        Le(j, length, 4);
        j += original.substr(offset, length);
    }
    Le(j, Fnv(j), 8);
    return j;
}

// The journal a poster killed in the middle of writing its change leaves
// beside the table.
std::string JournalOfACrashedPost(const std::string& path, const Record& record) {
    testing::ReadToEnd(testing::Fork([&](int) {
        JournaledFile::setPageWriteHookForTests([] { ::_exit(0); });
        ParadoxTable::open(path)->insert(record);
    }));
    return ReadBytes(JournaledFile::journalPath(path));
}

using testing::MasterRecordFor;

class ParadoxJournalTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto table = ParadoxTable::create(path, testing::MasterLayoutForTests());
        for (int k = 1; k <= 7; ++k) {
            records.push_back(MasterRecordFor(k, k));
            table->insert(records.back());
        }
        original = ReadBytes(path);
        ASSERT_EQ(original.size(), 3u * 4096u); // header and two blocks
    }
    testing::TempDir dir;
    const std::string path = dir / "master.db";
    const std::string journal = JournaledFile::journalPath(path);
    std::vector<Record> records;
    std::string original;
    std::vector<Record> reopened() {
        return testing::RecordsOf(ParadoxTable::open(path)->readAll());
    }
};

TEST_F(ParadoxJournalTest, AnInterruptedChangeIsRolledBackAtOpen) {
    // the crash came halfway through block 2, after the header and a new
    // third block were written
    std::string torn = original;
    torn[6] = 99;
    std::memset(&torn[8192 + 1000], 0x5A, 2000);
    torn += std::string(4096, 'Z');
    WriteBytes(journal, JournalOf(path, original, torn, {{0, 4096}, {8192, 4096}}));
    WriteBytes(path, torn);

    auto table = ParadoxTable::open(path);
    EXPECT_EQ(testing::RecordsOf(table->readAll()), records);
    EXPECT_FALSE(std::filesystem::exists(journal));
    EXPECT_EQ(ReadBytes(path), original);
    EXPECT_EQ(testing::PxRead(path).records, records);
}

// A reader lets go of its shared lock when done: a writer of another
// process would wait for it otherwise, and two that read first for ever.
TEST_F(ParadoxJournalTest, AReaderLeavesTheTableFreeForAWriter) {
    auto table = ParadoxTable::open(path);
    EXPECT_EQ(testing::RecordsOf(table->readAll()), records);
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    struct flock probe {}; // the whole file, from its start
    probe.l_type = F_WRLCK;
    const int result = ::fcntl(fd, F_OFD_GETLK, &probe);
    ::close(fd);
    ASSERT_EQ(result, 0);
    EXPECT_EQ(probe.l_type, F_UNLCK);
}

TEST_F(ParadoxJournalTest, AJournalCutShortIsDroppedAndTheTableKept) {
    const std::string whole = JournalOf(path, original, original, {{0, 4096}, {4096, 4096}});
    // an empty journal is one being started: ours, and nothing was changed
    for (size_t cut : {size_t{0}, size_t{3}, size_t{30}, whole.size() / 2, whole.size() - 1}) {
        WriteBytes(journal, whole.substr(0, cut));
        EXPECT_EQ(reopened(), records) << cut;
        EXPECT_FALSE(std::filesystem::exists(journal));
        EXPECT_EQ(ReadBytes(path), original);
    }
    std::string bent = whole;
    bent[100] ^= 1;
    WriteBytes(journal, bent);
    WriteBytes(path, original.substr(0, 8192) + std::string(4096, 'Q'));
    EXPECT_THROW(ParadoxTable::open(path), BrimloError) << "a damaged journal restores nothing";
    // a foreign file in the journal's place is kept
    WriteBytes(path, original);
    WriteBytes(journal, "SQLite format 3");
    EXPECT_THROW(ParadoxTable::open(path), BrimloError);
    EXPECT_EQ(ReadBytes(journal), "SQLite format 3");
}

bool SetImmutable(const std::string& path, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    int flags = 0;
    bool ok = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0)
        ::close(fd);
    return ok;
}

// A table that may only be read opens and reads; a post fails before any
// journal is made, so nothing is left to roll back at the next open.
TEST_F(ParadoxJournalTest, AReadOnlyTableRefusesPostsCleanly) {
    if (!SetImmutable(path, true))
        GTEST_SKIP() << "this file system cannot make a file read-only for root";
    struct Clear {
        std::string path;
        ~Clear() { SetImmutable(path, false); }
    } clear{path};
    auto table = ParadoxTable::open(path);
    EXPECT_EQ(testing::RecordsOf(table->readAll()), records);
    EXPECT_THAT(ErrorText([&] { table->insert(MasterRecordFor(99, 99)); }), HasSubstr(path));
    EXPECT_EQ(table->recordCount(), records.size());
    EXPECT_FALSE(std::filesystem::exists(journal));
    SetImmutable(path, false);
    EXPECT_EQ(reopened(), records);
}

// A journal is rolled back only into the file it was written for: one from
// another table, one older than a backup put back in the table's place, and
// one of an earlier release that names no file are refused, and neither the
// table nor the journal is touched.
TEST_F(ParadoxJournalTest, AJournalOfAnotherFileIsRefusedAndNothingTouched) {
    const std::string other = dir / "other.db";
    {
        auto table = ParadoxTable::create(other, testing::MasterLayoutForTests());
        for (int k = 1; k <= 4; ++k)
            table->insert(MasterRecordFor(100 + k, k));
    }
    const std::string foreign = JournalOfACrashedPost(other, MasterRecordFor(105, 5));
    const std::string backup = original;
    ParadoxTable::open(path)->insert(MasterRecordFor(8, 8));
    const std::string own = JournalOfACrashedPost(path, MasterRecordFor(9, 9));
    const std::string crashed = ReadBytes(path);
    struct Case {
        const char* what;
        std::string journal;
        std::string table;
    } cases[] = {
        {"another table's", foreign, crashed},
        {"older than the backup put back", own, backup},
        {"of an earlier release", JournalOf(path, original, original, {{0, 4096}}), crashed},
    };
    cases[2].journal[6] = '1';
    for (const Case& c : cases) {
        WriteBytes(path, c.table); // in place, as copying a backup over it does
        WriteBytes(journal, c.journal);
        EXPECT_THAT(ErrorText([&] { ParadoxTable::open(path); }),
                    HasSubstr("was not made to this file"))
            << c.what;
        EXPECT_EQ(ReadBytes(path), c.table) << c.what;
        EXPECT_EQ(ReadBytes(journal), c.journal) << c.what;
    }
    // the table's own journal, with the file the crash left, rolls back
    WriteBytes(path, crashed);
    WriteBytes(journal, own);
    records.push_back(MasterRecordFor(8, 8));
    EXPECT_EQ(reopened(), records);
    EXPECT_FALSE(std::filesystem::exists(journal));
}

// A table made anew replaces the old one and drops its journal.
TEST_F(ParadoxJournalTest, CreatingATableDropsTheOldTablesJournal) {
    WriteBytes(journal, JournalOf(path, original, original, {{0, 4096}, {4096, 4096}}));
    auto table = ParadoxTable::create(path, {{"ONE", FieldType::Long, 0}});
    EXPECT_TRUE(testing::PxRead(path).records.empty());
    table->insert({Value(5)});
    // The insert leaves its journal emptied, which is no journal, until the
    // table is closed.
    EXPECT_EQ(std::filesystem::file_size(journal), 0u);
    table.reset();
    EXPECT_FALSE(std::filesystem::exists(journal));
    EXPECT_EQ(reopened(), (std::vector<Record>{{Value(5)}}));
}

// A write that fails halfway (here the file size limit stops it) leaves the
// file and the table in memory as before the change.
TEST_F(ParadoxJournalTest, AFailedWriteLeavesTheTableAsItWas) {
    auto table = ParadoxTable::open(path);
    const std::vector<StoredRow> before = table->readAll();
    const auto post = [&](int key) {
        table->insert(MasterRecordFor(key, key));
        records.push_back(MasterRecordFor(key, key));
    };
    {
        testing::FileSizeLimit limit(14000); // the journal fits, a fourth block does not
        post(8);                             // block 2 has room
        post(9);
        post(10);
        const std::string full = ReadBytes(path);
        EXPECT_THROW(table->insert(MasterRecordFor(11, 11)), BrimloError);
        EXPECT_EQ(ReadBytes(path), full);
        table->beginBulk();
        table->update(before[0].id, MasterRecordFor(1, 100));
        table->insert(MasterRecordFor(12, 12));
        EXPECT_THROW(table->endBulk(), BrimloError);
        EXPECT_EQ(ReadBytes(path), full);
    }
    EXPECT_FALSE(std::filesystem::exists(journal));
    EXPECT_EQ(testing::RecordsOf(table->readAll()), records);
    EXPECT_EQ(table->recordCount(), records.size());
    EXPECT_EQ(testing::PxRead(path).records, records);

    // the ids handed out before the failure still name the same records
    table->update(before[6].id, MasterRecordFor(7, 70));
    records[6] = MasterRecordFor(7, 70);
    post(11);
    EXPECT_EQ(reopened(), records);
    EXPECT_EQ(testing::PxRead(path).records, records);
}

} // namespace
} // namespace brimlo
