#include "support/ParadoxStore.h"

#include <filesystem>
#include <system_error>

namespace brimlo {

ParadoxStore::ParadoxStore(std::unique_ptr<ParadoxTable> table) : table_(std::move(table)) {}

std::unique_ptr<ParadoxStore> ParadoxStore::open(const std::string& path) {
    return std::make_unique<ParadoxStore>(ParadoxTable::open(path));
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
    if (aheadGeneration_ != table_->generation())
        ahead_.clear();
    auto found = ahead_.find(id);
    if (found == ahead_.end()) {
        ahead_.clear();
        for (StoredRow& row : table_->readRun(id, kRun))
            ahead_.emplace(row.id, std::move(row.values));
        aheadGeneration_ = table_->generation();
        found = ahead_.find(id);
        if (found == ahead_.end())
            return table_->read(id);
    }
    return found->second;
}

std::vector<std::vector<Value>> ParadoxStore::readColumns(const std::vector<int>& fields) {
    return table_->readColumns(fields);
}

RowId ParadoxStore::insert(const Record& values) {
    return table_->insert(values);
}

void ParadoxStore::update(RowId id, const Record& values) {
    ahead_.clear();
    table_->update(id, values);
}

void ParadoxStore::remove(RowId id) {
    ahead_.clear();
    table_->remove(id);
}

void ParadoxStore::beginBulk() {
    table_->beginBulk();
}

void ParadoxStore::endBulk() {
    table_->endBulk();
}

void ParadoxStore::pack() {
    ahead_.clear();
    table_->pack();
}

} // namespace brimlo
