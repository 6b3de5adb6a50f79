#include "master/PgMasterTableStore.h"

#include "master/MasterFields.h"
#include "master/PgMasterStore.h"
#include "support/BrimloError.h"
#include "support/Dataset.h"

#include <algorithm>

namespace brimlo {

namespace {

[[noreturn]] void Gone() {
    throw BrimloError("The master record is no longer in the master database");
}

} // namespace

PgMasterTableStore::PgMasterTableStore(std::unique_ptr<PgMasterStore> server)
    : server_(std::move(server)) {}

PgMasterTableStore::~PgMasterTableStore() = default;

const FieldList& PgMasterTableStore::fields() const {
    return MasterFieldList();
}

std::vector<StoredRow> PgMasterTableStore::readAll() {
    ids_.clear();
    pages_.clear();
    std::vector<StoredRow> rows;
    server_->forEachFields(
        [] {
            std::vector<int> all(MasterFieldList().size());
            for (size_t i = 0; i < all.size(); ++i)
                all[i] = static_cast<int>(i);
            return all;
        }(),
        INT64_MAX,
        [&](int64_t id, const Record& values) {
            ids_.push_back(id);
            rows.push_back({id, values});
        });
    return rows;
}

// Several houses post to the same key: a record written here could undo a
// later post, so the window and the reports only read.
RowId PgMasterTableStore::insert(const Record&) {
    throw BrimloError("Records are added to the master database by posting loads");
}

void PgMasterTableStore::update(RowId, const Record&) {
    throw BrimloError("Records of the master database are changed by posting loads");
}

void PgMasterTableStore::remove(RowId id) {
    server_->removeRow(id); // already gone (another house deleted it) is as good
    const auto at = std::lower_bound(ids_.begin(), ids_.end(), id);
    if (at == ids_.end() || *at != id)
        return;
    // The pages are numbered by place; from this one on, every place moved.
    const size_t from = static_cast<size_t>(at - ids_.begin()) / kPageSize;
    ids_.erase(at);
    pages_.remove_if([from](const Page& p) { return p.number >= from; });
}

std::vector<RowId> PgMasterTableStore::readIds() {
    pages_.clear();
    ids_ = server_->rowIds();
    return ids_;
}

Record PgMasterTableStore::read(RowId id) {
    const auto at = std::lower_bound(ids_.begin(), ids_.end(), id);
    if (at == ids_.end() || *at != id)
        Gone();
    const Page& found = page(static_cast<size_t>(at - ids_.begin()) / kPageSize);
    const auto row = std::lower_bound(found.rows.begin(), found.rows.end(), id,
                                      [](const auto& r, RowId want) { return r.first < want; });
    if (row == found.rows.end() || row->first != id)
        Gone();
    return row->second;
}

// A page is the records of kPageSize neighbouring ids, read in one
// statement; ids another house deleted since are simply missing from it.
const PgMasterTableStore::Page& PgMasterTableStore::page(size_t number) {
    const auto kept = std::find_if(pages_.begin(), pages_.end(),
                                   [number](const Page& p) { return p.number == number; });
    if (kept != pages_.end()) {
        pages_.splice(pages_.begin(), pages_, kept);
        return pages_.front();
    }
    const size_t first = number * kPageSize;
    const size_t last = std::min(ids_.size(), first + kPageSize) - 1;
    pages_.push_front(Page{number, server_->readRows(ids_[first], ids_[last])});
    if (pages_.size() > kPagesKept)
        pages_.pop_back();
    return pages_.front();
}

// The fields of every record the dataset knows, in its order; a record
// deleted since reads as empty, one added since is left out, so the columns
// line up with the ids.
std::vector<std::vector<Value>> PgMasterTableStore::readColumns(const std::vector<int>& fields) {
    std::vector<std::vector<Value>> columns(fields.size());
    for (auto& column : columns)
        column.resize(ids_.size());
    if (ids_.empty())
        return columns;
    size_t place = 0;
    server_->forEachFields(fields, ids_.back(), [&](int64_t id, const Record& values) {
        while (place < ids_.size() && ids_[place] < id)
            ++place;
        if (place == ids_.size() || ids_[place] != id)
            return;
        for (size_t c = 0; c < fields.size(); ++c)
            columns[c][place] = values[c];
        ++place;
    });
    return columns;
}

std::optional<std::vector<RowId>>
PgMasterTableStore::findIds(const std::vector<std::pair<int, Value>>& matches) {
    MasterKey key;
    int found = 0;
    for (const auto& [field, value] : matches) {
        // A null matches what the dataset takes for one, which SQL's = does not.
        if (value.isNull() && field != kMasterMillCode)
            return std::nullopt;
        if (field == kMasterMillCode)
            key.millCode = value.asString();
        else if (field == kMasterLoadNum)
            key.loadNum = value.asInt();
        else if (field == kMasterPop && value.asInt() == static_cast<int16_t>(value.asInt()))
            key.pop = static_cast<int16_t>(value.asInt());
        else
            return std::nullopt;
        ++found;
    }
    if (found != 3)
        return std::nullopt;
    return server_->rowIdsOf(key);
}

std::unique_ptr<Dataset> OpenServerMasterDataset(std::unique_ptr<PgMasterStore> server) {
    return std::make_unique<Dataset>(std::make_unique<PgMasterTableStore>(std::move(server)));
}

} // namespace brimlo
