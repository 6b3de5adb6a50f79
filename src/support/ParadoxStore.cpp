#include "support/ParadoxStore.h"

#include <filesystem>
#include <system_error>

namespace brimlo {

ParadoxStore::ParadoxStore(std::unique_ptr<ParadoxTable> table) : table_(std::move(table)) {}

std::unique_ptr<ParadoxStore> ParadoxStore::open(const std::string& path) {
    // a dataset over the store reads records on demand: opening the master
    // at start-up need not read its block chain
    return std::make_unique<ParadoxStore>(ParadoxTable::open(path, ParadoxTable::Open::HeaderOnly));
}

std::unique_ptr<ParadoxStore> ParadoxStore::create(const std::string& path,
                                                   const FieldList& fields) {
    return std::make_unique<ParadoxStore>(ParadoxTable::create(path, fields));
}

std::unique_ptr<ParadoxStore> ParadoxStore::openOrCreate(const std::string& path,
                                                         const FieldList& fields) {
    std::error_code error;
    if (std::filesystem::exists(path, error))
        return open(path);
    return create(path, fields);
}

const FieldList& ParadoxStore::fields() const {
    return table_->fields();
}

std::vector<StoredRow> ParadoxStore::readAll() {
    return table_->readAll();
}

std::vector<RowId> ParadoxStore::readIds() {
    return table_->ids();
}

Record ParadoxStore::read(RowId id) {
    constexpr size_t kRun = 256;
    constexpr size_t kLone = 2;
    if (aheadGeneration_ != table_->generation())
        dropAhead();
    auto found = ahead_.find(id);
    if (found == ahead_.end()) {
        // A reader that went past the end of what was read goes through the
        // table in order: read a run. Any other read (the record a post
        // replaces, a jump) takes its record and the next, so that the
        // second read of a reader in order is found here and its third
        // reads the run.
        const bool onward = lastRead_ != 0 && lastRead_ == aheadLast_;
        dropAhead();
        for (StoredRow& row : table_->readRun(id, onward ? kRun : kLone)) {
            aheadLast_ = row.id;
            ahead_.emplace(row.id, std::move(row.values));
        }
        aheadGeneration_ = table_->generation();
        found = ahead_.find(id);
        if (found == ahead_.end())
            return table_->read(id);
    }
    lastRead_ = id;
    return found->second;
}

void ParadoxStore::dropAhead() {
    ahead_.clear();
    aheadLast_ = lastRead_ = 0;
}

std::vector<std::vector<Value>> ParadoxStore::readColumns(const std::vector<int>& fields) {
    return table_->readColumns(fields);
}

RowId ParadoxStore::insert(const Record& values) {
    return table_->insert(values);
}

void ParadoxStore::update(RowId id, const Record& values) {
    dropAhead();
    table_->update(id, values);
}

void ParadoxStore::remove(RowId id) {
    dropAhead();
    table_->remove(id);
}

void ParadoxStore::beginBulk() {
    table_->beginBulk();
}

void ParadoxStore::endBulk() {
    table_->endBulk();
}

void ParadoxStore::pack() {
    dropAhead();
    table_->pack();
}

} // namespace brimlo
