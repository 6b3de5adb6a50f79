#pragma once

#include "support/FieldDef.h"
#include "support/JournaledFile.h"
#include "support/ParadoxHeader.h"
#include "support/TableStore.h"
#include "support/Value.h"

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace brimlo {

// A Paradox data table (.db) file, read and written by this program itself.
//
// Records sit in fixed-size data blocks chained from the header; the table's
// order is the chain's. A record is known by a RowId that stays the same
// until pack(). Every change is written through before the call returns
// (inside a bulk, when the outermost endBulk() returns), atomically: the
// blocks it touches and the header are journaled first (JournaledFile), so a
// crash leaves the old or the new state, never a torn block.
//
// Appending fills the last block and then chains a new one; replacing writes
// the record's block in place; removing closes the gap in its block, and a
// block left empty leaves the file (the last block of the file moves into
// its place), so the file never holds free blocks that readers must skip.
//
// Other processes may use the same file at the same time (another copy of
// the program, a command-line tool): every change holds the file's exclusive
// lock from checking the file to the end of its write (a bulk, from
// beginBulk to endBulk), and reading holds the shared lock. When the lock
// shows that another process changed the file (its header, which every
// change rewrites with a raised change counter, or its size differ, or
// another file was renamed into its place) the table reads the file again
// first: the records then get new ids, and an id from before is refused
// with a BrimloError rather than taken for another record.
//
// Tables written by other programs open when they are level 3 to 7 data
// tables with alpha, short, long, number, currency, autoincrement, date and
// logical fields and block sizes of 1k to 32k; a keyed table is read-only
// (its primary index is not maintained here). Anything else is refused with
// a BrimloError naming the file and the reason.
class ParadoxTable {
public:
    // Creates an empty unkeyed table, replacing any file of that name.
    static std::unique_ptr<ParadoxTable> create(const std::string& path, const FieldList& fields);
    // Reading the block chain of a large table touches every block; with
    // HeaderOnly the open reads the header (layout, record count) and the
    // chain is read at the first access that needs it, where a damaged
    // chain is reported then.
    enum class Open { Whole, HeaderOnly };
    static std::unique_ptr<ParadoxTable> open(const std::string& path, Open how = Open::Whole);
    ~ParadoxTable();
    ParadoxTable(const ParadoxTable&) = delete;
    ParadoxTable& operator=(const ParadoxTable&) = delete;

    const std::string& path() const { return file_->path(); }
    // Flush and lock switches for benchmarks and tests (JournaledFile).
    void setShortcuts(JournaledFile::Shortcuts shortcuts) { file_->setShortcuts(shortcuts); }
    const FieldList& fields() const { return header_.fields(); }
    // The header's count until the chain is read (HeaderOnly), then the chain's.
    size_t recordCount() const { return counts_.records; }
    bool readOnly() const { return header_.keyed(); }
    uint32_t blockSize() const { return header_.blockSize(); }

    // Every record in table order.
    std::vector<StoredRow> readAll();
    Record read(RowId id);
    // Up to count records in table order from the one with this id on,
    // under one hold of the lock.
    std::vector<StoredRow> readRun(RowId first, size_t count);
    // The ids in table order, reading no record.
    std::vector<RowId> ids();
    // The given fields of every record in table order, one vector a field.
    std::vector<std::vector<Value>> readColumns(const std::vector<int>& fields);
    // Reads the file again when another process changed it; true when it
    // did (the ids of before are no longer good).
    bool refresh();
    // Grows each time the table was read again; part of every id.
    uint32_t generation() const { return generation_; }
    // Appends a record after the last one; returns its id. Fields missing at
    // the end of values are written blank.
    RowId insert(const Record& values);
    // Replaces a record in place.
    void update(RowId id, const Record& values);
    void remove(RowId id);
    // Changes between these are written in one durable step, under one hold
    // of the lock. Nested calls count; a failed change inside drops all of
    // the bulk's changes.
    void beginBulk();
    void endBulk();
    // Rewrites the file with full blocks; ids are given anew in table order.
    void pack();

private:
    struct Block {
        uint16_t prev = 0;
        uint16_t next = 0; // in the chain, or in the free list
        bool inChain = false;
        std::vector<RowId> rows;
    };
    // What a change did to the in-memory state, to undo it when the change
    // cannot be written.
    struct Undo {
        bool active = false;
        ParadoxBlockCounts counts;
        uint32_t changeCounter = 0;
        size_t blockCount = 0;
        size_t whereSize = 0;
        std::vector<std::pair<uint32_t, Block>> blocks;
        std::unordered_set<uint32_t> saved;
        std::vector<std::pair<RowId, uint32_t>> where;
    };
    class Change;
    class Hold;

    ParadoxTable() = default;
    void load();
    void loadHeader(const JournaledFile::View& file);
    void loadBlocks(const unsigned char* file);
    void requireChain();
    void lock(bool exclusive);
    void unlock();
    bool changedOnDisk();
    void reload();
    void loadFreeList(const unsigned char* file);
    void loadChain(const unsigned char* file);
    [[noreturn]] void damaged(const std::string& why) const;

    std::vector<unsigned char> encode(const Record& values) const;
    Record decode(const unsigned char* record) const;
    void requireWritable() const;
    uint32_t blockOf(RowId id) const;
    size_t slotOf(uint32_t block, RowId id) const;
    std::vector<unsigned char> loadBlock(uint32_t block) const;
    // Calls visit(id, record bytes) for every record in table order.
    template <class Visit> void forEachRecord(Visit&& visit) const;
    unsigned char* editBlock(uint32_t block);
    void storeBlock(uint32_t block, std::vector<unsigned char> page);
    void relink(uint32_t block);
    uint32_t appendBlock();
    void dropBlock(uint32_t block);
    void release(uint32_t block);
    void moveBlock(uint32_t from, uint32_t to);

    void startChange();
    void finishChange();
    void failChange();
    void touch(uint32_t block);
    void setWhere(RowId id, uint32_t block);
    RowId newRow(uint32_t block);
    static size_t slotIndex(RowId id) { return static_cast<size_t>(id & 0xFFFFFFFF); }

    std::unique_ptr<JournaledFile> file_;
    ParadoxHeader header_;
    ParadoxBlockCounts counts_;
    std::vector<Block> blocks_;   // by block number; [0] unused
    std::vector<uint32_t> where_; // block of each RowId, 0 once removed; [0] unused
    bool chainRead_ = false;      // blocks_ and where_ hold the chain
    Undo undo_;
    int bulkDepth_ = 0;
    int lockDepth_ = 0;
    bool exclusive_ = false;
    uint32_t generation_ = 0;
    std::vector<unsigned char> seenHeader_; // as on disk after the last read or change
    uint64_t seenSize_ = 0;
};

} // namespace brimlo
