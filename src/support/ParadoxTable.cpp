#include "support/ParadoxTable.h"

#include "support/BrimloError.h"
#include "support/ParadoxCodec.h"
#include "support/StagedFile.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string_view>

namespace brimlo {

namespace {

constexpr size_t kBlockHead = 6; // next, previous, size of the data past one record
constexpr uint32_t kMaxBlocks = 0xFFFF;
constexpr uint32_t kMaxGeneration = 0x7FFFFFFF; // keeps ids positive

} // namespace

// Holds the table's lock for one operation; holds nest.
class ParadoxTable::Hold {
public:
    Hold(ParadoxTable& table, bool exclusive) : table_(table) { table_.lock(exclusive); }
    ~Hold() { table_.unlock(); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

private:
    ParadoxTable& table_;
};

// One change to the table, under the exclusive lock: written through when
// it completes, undone in memory and on disk when it fails.
class ParadoxTable::Change {
public:
    explicit Change(ParadoxTable& table) : table_(table), hold_(checked(table), true) {
        table_.requireChain();
        table_.startChange();
    }
    ~Change() {
        if (!done_)
            table_.failChange();
    }
    Change(const Change&) = delete;
    Change& operator=(const Change&) = delete;
    void complete() {
        done_ = true;
        table_.finishChange();
    }

private:
    static ParadoxTable& checked(ParadoxTable& table) {
        table.requireWritable();
        return table;
    }
    ParadoxTable& table_;
    Hold hold_;
    bool done_ = false;
};

std::unique_ptr<ParadoxTable> ParadoxTable::create(const std::string& path,
                                                   const FieldList& fields) {
    const std::string name = std::filesystem::path(path).filename().string();
    ParadoxHeader header = ParadoxHeader::build(fields, name);
    // an unfinished change of the old table must not be replayed on the new one
    JournaledFile::dropJournal(path);
    StagedFile file(path);
    const std::vector<unsigned char> bytes = header.bytes();
    file.write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    file.commit();
    return open(path);
}

std::unique_ptr<ParadoxTable> ParadoxTable::open(const std::string& path, Open how) {
    std::unique_ptr<ParadoxTable> table(new ParadoxTable);
    table->file_ = std::make_unique<JournaledFile>(path);
    Hold hold(*table, false);
    if (how == Open::Whole)
        table->load();
    else
        table->loadHeader(table->file_->view());
    return table;
}

ParadoxTable::~ParadoxTable() = default;

void ParadoxTable::damaged(const std::string& why) const {
    throw BrimloError("Table '" + path() + "' cannot be opened: it is damaged (" + why + ")");
}

void ParadoxTable::lock(bool exclusive) {
    if (lockDepth_ > 0) {
        if (exclusive && !exclusive_)
            throw BrimloError("Table '" + path() + "' cannot be changed while it is being read");
        ++lockDepth_;
        return;
    }
    const bool renewed = file_->lock(exclusive ? JournaledFile::LockMode::Exclusive
                                               : JournaledFile::LockMode::Shared);
    lockDepth_ = 1;
    exclusive_ = exclusive;
    if (!seenHeader_.empty() && file_->shortcuts().lock && (renewed || changedOnDisk())) {
        try {
            reload();
        } catch (...) {
            unlock();
            throw;
        }
    }
}

void ParadoxTable::unlock() {
    if (lockDepth_ > 0 && --lockDepth_ == 0)
        file_->unlock();
}

bool ParadoxTable::changedOnDisk() {
    return file_->diskSize() != seenSize_ || file_->readPage(0, seenHeader_.size()) != seenHeader_;
}

// Another process changed the file: read it anew, with ids of a new
// generation so that none of before is taken for one of now.
void ParadoxTable::reload() {
    const FieldList before = fields();
    generation_ = generation_ >= kMaxGeneration ? 1 : generation_ + 1;
    load();
    if (!(fields() == before))
        throw BrimloError("Table '" + path() +
                          "' was replaced by a table with other fields while it was open");
}

bool ParadoxTable::refresh() {
    const uint32_t before = generation_;
    Hold hold(*this, false);
    return generation_ != before;
}

void ParadoxTable::load() {
    const JournaledFile::View file = file_->view();
    loadHeader(file);
    loadBlocks(file.data());
}

void ParadoxTable::loadHeader(const JournaledFile::View& file) {
    header_ = ParadoxHeader::parse(file.data(), file.size(), path());
    file_->setIdentityLength(header_.headerSize());
    seenHeader_.assign(file.data(), file.data() + header_.headerSize());
    seenSize_ = file.size();
    counts_ = header_.counts();
    chainRead_ = false;
    blocks_.clear();
    where_.assign(1, 0);
}

void ParadoxTable::loadBlocks(const unsigned char* file) {
    blocks_.assign(counts_.fileBlocks + 1u, Block{});
    where_.assign(1, 0);
    loadFreeList(file);
    loadChain(file);
    chainRead_ = true;
}

// Under the lock: the file is as its header was read (lock() reads it anew
// otherwise). The chain gives its records the ids 1 to n of ids() before
// it; when the header's count was wrong those ids are not the records'
// ones, and the table counts as read anew.
void ParadoxTable::requireChain() {
    if (chainRead_)
        return;
    const uint32_t promised = counts_.records;
    const JournaledFile::View file = file_->view();
    loadBlocks(file.data());
    if (counts_.records != promised) {
        generation_ = generation_ >= kMaxGeneration ? 1 : generation_ + 1;
        loadBlocks(file.data()); // the records get ids of the new generation
    }
}

void ParadoxTable::loadFreeList(const unsigned char* file) {
    for (uint32_t n = counts_.firstFree, steps = 0; n != 0; ++steps) {
        if (n > counts_.fileBlocks || steps > counts_.fileBlocks)
            damaged("its free block list is broken");
        blocks_[n].next = ReadLe16(&file[header_.blockOffset(n)]);
        n = blocks_[n].next;
    }
}

void ParadoxTable::loadChain(const unsigned char* file) {
    const int size = header_.recordSize();
    uint32_t prev = 0;
    uint32_t records = 0;
    uint16_t used = 0;
    for (uint32_t n = counts_.firstBlock; n != 0; prev = n, n = blocks_[n].next) {
        if (n > counts_.fileBlocks || blocks_[n].inChain)
            damaged("its block chain is broken at block " + std::to_string(n));
        const unsigned char* page = &file[header_.blockOffset(n)];
        const int extra = static_cast<int16_t>(ReadLe16(page + 4));
        const int count = (extra + size) / size;
        if (extra < -size || (extra + size) % size != 0 || count > header_.recordsPerBlock())
            damaged("block " + std::to_string(n) + " has a wrong record count");
        Block& b = blocks_[n];
        b.inChain = true;
        b.prev = static_cast<uint16_t>(prev);
        b.next = ReadLe16(page);
        for (int i = 0; i < count; ++i)
            b.rows.push_back(newRow(n));
        records += static_cast<uint32_t>(count);
        ++used;
    }
    // the chain is the truth; counts another writer left wrong are mended on
    // the next change
    counts_.lastBlock = static_cast<uint16_t>(prev);
    counts_.records = records;
    counts_.usedBlocks = used;
}

std::vector<unsigned char> ParadoxTable::encode(const Record& values) const {
    const FieldList& f = fields();
    if (values.size() > f.size())
        throw BrimloError("A record of " + std::to_string(values.size()) +
                          " values does not fit table '" + path() + "'");
    std::vector<unsigned char> record(static_cast<size_t>(header_.recordSize()), 0);
    for (size_t i = 0; i < values.size(); ++i)
        EncodeParadoxField(f[i], values[i], &record[static_cast<size_t>(header_.offsets()[i])]);
    return record;
}

Record ParadoxTable::decode(const unsigned char* record) const {
    return DecodeParadoxRecord(fields(), header_.offsets(), record);
}

void ParadoxTable::requireWritable() const {
    if (readOnly())
        throw BrimloError("Table '" + path() +
                          "' has a primary key and can only be read by this program");
}

uint32_t ParadoxTable::blockOf(RowId id) const {
    if (id > 0 && static_cast<uint64_t>(id) >> 32 != generation_)
        throw BrimloError("Table '" + path() +
                          "' was changed by another program since its records were read; "
                          "read them again and repeat the change");
    const size_t slot = slotIndex(id);
    if (id <= 0 || slot >= where_.size() || where_[slot] == 0)
        throw BrimloError("Record " + std::to_string(slot) + " is not in table '" + path() + "'");
    return where_[slot];
}

size_t ParadoxTable::slotOf(uint32_t block, RowId id) const {
    const std::vector<RowId>& rows = blocks_[block].rows;
    return static_cast<size_t>(std::find(rows.begin(), rows.end(), id) - rows.begin());
}

std::vector<unsigned char> ParadoxTable::loadBlock(uint32_t block) const {
    return file_->readPage(header_.blockOffset(block), header_.blockSize());
}

unsigned char* ParadoxTable::editBlock(uint32_t block) {
    return file_->stagedPage(header_.blockOffset(block), header_.blockSize()).data();
}

// Stages a whole new page for a block, with its links as held in memory.
void ParadoxTable::storeBlock(uint32_t block, std::vector<unsigned char> page) {
    file_->stagePage(header_.blockOffset(block), std::move(page));
    relink(block);
}

// Writes a block's links and record count, as held in memory, into its page.
void ParadoxTable::relink(uint32_t block) {
    const Block& b = blocks_[block];
    unsigned char* page = editBlock(block);
    const int extra = (static_cast<int>(b.rows.size()) - 1) * header_.recordSize();
    WriteLe16(&page[0], b.next);
    WriteLe16(&page[2], b.inChain ? b.prev : 0);
    WriteLe16(&page[4], static_cast<uint16_t>(static_cast<int16_t>(extra)));
}

RowId ParadoxTable::newRow(uint32_t block) {
    where_.push_back(block);
    return static_cast<RowId>((uint64_t{generation_} << 32) | (where_.size() - 1));
}

void ParadoxTable::setWhere(RowId id, uint32_t block) {
    const size_t i = slotIndex(id);
    if (undo_.active && i < undo_.whereSize)
        undo_.where.emplace_back(id, where_[i]);
    where_[i] = block;
}

void ParadoxTable::touch(uint32_t block) {
    if (undo_.active && block < undo_.blockCount && undo_.saved.insert(block).second)
        undo_.blocks.emplace_back(block, blocks_[block]);
}

void ParadoxTable::startChange() {
    if (undo_.active)
        return;
    undo_.active = true;
    undo_.counts = counts_;
    undo_.changeCounter = header_.changeCounter();
    undo_.blockCount = blocks_.size();
    undo_.whereSize = where_.size();
}

void ParadoxTable::finishChange() {
    if (bulkDepth_ > 0)
        return;
    try {
        // every change rewrites the header, so other processes notice it
        header_.setCounts(counts_);
        header_.setChangeCounter(undo_.changeCounter + 1);
        std::vector<unsigned char> header = header_.bytes();
        file_->stagePage(0, header);
        file_->commit();
        seenHeader_ = std::move(header);
        seenSize_ = file_->size();
    } catch (...) {
        failChange();
        throw;
    }
    undo_ = Undo{};
}

void ParadoxTable::failChange() {
    file_->discard();
    if (!undo_.active)
        return;
    blocks_.resize(undo_.blockCount);
    for (auto it = undo_.blocks.rbegin(); it != undo_.blocks.rend(); ++it)
        blocks_[it->first] = it->second;
    where_.resize(undo_.whereSize);
    for (auto it = undo_.where.rbegin(); it != undo_.where.rend(); ++it)
        where_[slotIndex(it->first)] = it->second;
    counts_ = undo_.counts;
    header_.setCounts(counts_);
    header_.setChangeCounter(undo_.changeCounter);
    undo_ = Undo{};
}

// A new empty block chained after the last one: a free block when a foreign
// table has one, otherwise one more block at the end of the file.
uint32_t ParadoxTable::appendBlock() {
    uint32_t n;
    if (counts_.firstFree != 0) {
        n = counts_.firstFree;
        touch(n);
        counts_.firstFree = blocks_[n].next;
    } else {
        if (counts_.fileBlocks >= kMaxBlocks)
            throw BrimloError("Table '" + path() + "' is full");
        n = ++counts_.fileBlocks;
        blocks_.emplace_back();
    }
    const uint32_t last = counts_.lastBlock;
    blocks_[n] = Block{static_cast<uint16_t>(last), 0, true, {}};
    if (last != 0) {
        touch(last);
        blocks_[last].next = static_cast<uint16_t>(n);
        relink(last);
    } else {
        counts_.firstBlock = static_cast<uint16_t>(n);
    }
    counts_.lastBlock = static_cast<uint16_t>(n);
    ++counts_.usedBlocks;
    storeBlock(n, std::vector<unsigned char>(header_.blockSize(), 0));
    return n;
}

// Takes an emptied block out of the chain. The first block keeps its place at
// the head of the file: the next block's records move into it instead.
void ParadoxTable::dropBlock(uint32_t block) {
    Block& b = blocks_[block];
    uint32_t freed = block;
    if (block == counts_.firstBlock && b.next != 0) {
        freed = b.next;
        touch(freed);
        std::vector<unsigned char> page = loadBlock(freed);
        b.rows = std::move(blocks_[freed].rows);
        for (RowId id : b.rows)
            setWhere(id, block);
        b.next = blocks_[freed].next;
        if (b.next != 0) {
            touch(b.next);
            blocks_[b.next].prev = static_cast<uint16_t>(block);
            relink(b.next);
        } else {
            counts_.lastBlock = static_cast<uint16_t>(block);
        }
        storeBlock(block, std::move(page));
    } else {
        const uint16_t prev = b.prev;
        const uint16_t next = b.next;
        if (prev != 0) {
            touch(prev);
            blocks_[prev].next = next;
            relink(prev);
        } else {
            counts_.firstBlock = next;
        }
        if (next != 0) {
            touch(next);
            blocks_[next].prev = prev;
            relink(next);
        } else {
            counts_.lastBlock = prev;
        }
    }
    blocks_[freed] = Block{};
    --counts_.usedBlocks;
    release(freed);
}

// Gives back an unchained block: the file's last block moves into it and the
// file gets one block shorter.
void ParadoxTable::release(uint32_t block) {
    const uint32_t last = counts_.fileBlocks;
    if (block != last && !blocks_[last].inChain) {
        // a foreign table's free block ends the file: list this one as free too
        blocks_[block] = Block{0, counts_.firstFree, false, {}};
        counts_.firstFree = static_cast<uint16_t>(block);
        storeBlock(block, std::vector<unsigned char>(header_.blockSize(), 0));
        return;
    }
    if (block != last)
        moveBlock(last, block);
    touch(last);
    blocks_.pop_back();
    --counts_.fileBlocks;
    file_->resize(header_.blockOffset(last));
}

void ParadoxTable::moveBlock(uint32_t from, uint32_t to) {
    touch(from);
    touch(to);
    std::vector<unsigned char> page = loadBlock(from);
    blocks_[to] = blocks_[from];
    const Block& b = blocks_[to];
    for (RowId id : b.rows)
        setWhere(id, to);
    if (b.prev != 0) {
        touch(b.prev);
        blocks_[b.prev].next = static_cast<uint16_t>(to);
        relink(b.prev);
    } else {
        counts_.firstBlock = static_cast<uint16_t>(to);
    }
    if (b.next != 0) {
        touch(b.next);
        blocks_[b.next].prev = static_cast<uint16_t>(to);
        relink(b.next);
    } else {
        counts_.lastBlock = static_cast<uint16_t>(to);
    }
    storeBlock(to, std::move(page));
}

template <class Visit> void ParadoxTable::forEachRecord(Visit&& visit) const {
    // one mapping of the whole file is much faster than one read per block
    const bool whole = !file_->hasStaged();
    const JournaledFile::View file = whole ? file_->view() : JournaledFile::View(nullptr, 0);
    const auto size = static_cast<size_t>(header_.recordSize());
    for (uint32_t n = counts_.firstBlock; n != 0; n = blocks_[n].next) {
        std::vector<unsigned char> page;
        const unsigned char* data;
        if (whole) {
            data = file.data() + header_.blockOffset(n);
        } else {
            page = loadBlock(n);
            data = page.data();
        }
        const std::vector<RowId>& ids = blocks_[n].rows;
        for (size_t i = 0; i < ids.size(); ++i)
            visit(ids[i], data + kBlockHead + i * size);
    }
}

std::vector<StoredRow> ParadoxTable::readAll() {
    Hold hold(*this, false);
    requireChain();
    std::vector<StoredRow> rows;
    rows.reserve(counts_.records);
    forEachRecord([&](RowId id, const unsigned char* record) {
        rows.push_back({id, decode(record)});
    });
    return rows;
}

std::vector<StoredRow> ParadoxTable::readRun(RowId first, size_t count) {
    Hold hold(*this, false);
    requireChain();
    std::vector<StoredRow> rows;
    uint32_t n = blockOf(first);
    size_t slot = slotOf(n, first);
    const auto size = static_cast<size_t>(header_.recordSize());
    for (; n != 0 && rows.size() < count; n = blocks_[n].next, slot = 0) {
        const std::vector<unsigned char> page = loadBlock(n);
        const std::vector<RowId>& ids = blocks_[n].rows;
        for (size_t i = slot; i < ids.size() && rows.size() < count; ++i)
            rows.push_back({ids[i], decode(&page[kBlockHead + i * size])});
    }
    return rows;
}

std::vector<RowId> ParadoxTable::ids() {
    Hold hold(*this, false);
    std::vector<RowId> ids;
    ids.reserve(counts_.records);
    // a count the blocks cannot hold is wrong for certain: read the chain
    const uint64_t room =
        uint64_t{counts_.fileBlocks} * static_cast<uint64_t>(header_.recordsPerBlock());
    if (!chainRead_ && counts_.records > room)
        requireChain();
    if (!chainRead_) {
        // the ids the chain will give, in its order (see requireChain)
        for (uint32_t slot = 1; slot <= counts_.records; ++slot)
            ids.push_back(static_cast<RowId>((uint64_t{generation_} << 32) | slot));
        return ids;
    }
    for (uint32_t n = counts_.firstBlock; n != 0; n = blocks_[n].next)
        ids.insert(ids.end(), blocks_[n].rows.begin(), blocks_[n].rows.end());
    return ids;
}

std::vector<std::vector<Value>> ParadoxTable::readColumns(const std::vector<int>& fields) {
    Hold hold(*this, false);
    requireChain();
    std::vector<std::vector<Value>> columns(fields.size());
    for (int field : fields)
        if (field < 0 || static_cast<size_t>(field) >= this->fields().size())
            throw BrimloError("Field index out of range");
    for (auto& column : columns)
        column.reserve(counts_.records);
    forEachRecord([&](RowId, const unsigned char* record) {
        for (size_t c = 0; c < fields.size(); ++c) {
            const auto f = static_cast<size_t>(fields[c]);
            columns[c].push_back(
                DecodeParadoxField(this->fields()[f], record + header_.offsets()[f]));
        }
    });
    return columns;
}

Record ParadoxTable::read(RowId id) {
    Hold hold(*this, false);
    requireChain();
    const uint32_t block = blockOf(id);
    const std::vector<unsigned char> page = loadBlock(block);
    return decode(
        &page[kBlockHead + slotOf(block, id) * static_cast<size_t>(header_.recordSize())]);
}

RowId ParadoxTable::insert(const Record& values) {
    const std::vector<unsigned char> record = encode(values);
    Change change(*this);
    uint32_t n = counts_.lastBlock;
    if (n == 0 || blocks_[n].rows.size() >= static_cast<size_t>(header_.recordsPerBlock()))
        n = appendBlock();
    touch(n);
    std::memcpy(editBlock(n) + kBlockHead + blocks_[n].rows.size() * record.size(), record.data(),
                record.size());
    const RowId id = newRow(n);
    blocks_[n].rows.push_back(id);
    ++counts_.records;
    relink(n);
    change.complete();
    return id;
}

void ParadoxTable::update(RowId id, const Record& values) {
    const std::vector<unsigned char> record = encode(values);
    Change change(*this);
    const uint32_t n = blockOf(id);
    std::memcpy(editBlock(n) + kBlockHead + slotOf(n, id) * record.size(), record.data(),
                record.size());
    change.complete();
}

void ParadoxTable::remove(RowId id) {
    Change change(*this);
    const uint32_t n = blockOf(id);
    touch(n);
    std::vector<RowId>& rows = blocks_[n].rows;
    const size_t slot = slotOf(n, id);
    const auto size = static_cast<size_t>(header_.recordSize());
    unsigned char* records = editBlock(n) + kBlockHead;
    std::memmove(records + slot * size, records + (slot + 1) * size,
                 (rows.size() - slot - 1) * size);
    std::memset(records + (rows.size() - 1) * size, 0, size);
    rows.erase(rows.begin() + static_cast<long>(slot));
    setWhere(id, 0);
    --counts_.records;
    if (rows.empty())
        dropBlock(n);
    else
        relink(n);
    change.complete();
}

void ParadoxTable::beginBulk() {
    lock(!readOnly());
    ++bulkDepth_;
}

void ParadoxTable::endBulk() {
    if (bulkDepth_ == 0)
        return;
    struct Release {
        ParadoxTable& table;
        ~Release() { table.unlock(); }
    } release{*this};
    if (--bulkDepth_ == 0 && undo_.active)
        finishChange();
}

void ParadoxTable::pack() {
    requireWritable();
    Hold hold(*this, true);
    requireChain();
    const std::vector<StoredRow> rows = readAll();
    const auto size = static_cast<size_t>(header_.recordSize());
    const size_t perBlock = static_cast<size_t>(header_.recordsPerBlock());
    const size_t blocks = (rows.size() + perBlock - 1) / perBlock;
    ParadoxBlockCounts counts;
    counts.records = static_cast<uint32_t>(rows.size());
    counts.fileBlocks = counts.usedBlocks = counts.lastBlock = static_cast<uint16_t>(blocks);
    counts.firstBlock = blocks > 0 ? 1 : 0;
    // a copy: a pack that fails leaves the table in memory as it was
    ParadoxHeader packed = header_;
    packed.setCounts(counts);
    packed.setChangeCounter(header_.changeCounter() + 1);

    // the new file is renamed over the link's target, so a link stays a link
    StagedFile out(path());
    auto put = [&out](const std::vector<unsigned char>& bytes) {
        out.write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    };
    put(packed.bytes());
    for (size_t b = 0; b < blocks; ++b) {
        std::vector<unsigned char> page(header_.blockSize(), 0);
        const size_t first = b * perBlock;
        const size_t count = std::min(perBlock, rows.size() - first);
        WriteLe16(&page[0], static_cast<uint16_t>(b + 1 < blocks ? b + 2 : 0));
        WriteLe16(&page[2], static_cast<uint16_t>(b));
        WriteLe16(&page[4], static_cast<uint16_t>((count - 1) * size));
        for (size_t i = 0; i < count; ++i)
            std::memcpy(&page[kBlockHead + i * size], encode(rows[first + i].values).data(), size);
        put(page);
    }
    out.commit();
    // changes of a bulk still open are in the new file already
    undo_ = Undo{};
    // the old file's lock went with it: take the new one's before reading it
    file_->reopen();
    file_->lock(JournaledFile::LockMode::Exclusive);
    generation_ = generation_ >= kMaxGeneration ? 1 : generation_ + 1;
    load();
}

} // namespace brimlo
