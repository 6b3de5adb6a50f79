#include "support/Dataset.h"

#include "support/BrimloError.h"
#include "support/FieldValue.h"

#include <algorithm>
#include <cstdio>

namespace brimlo {

namespace {

const Value& NullValue() {
    static const Value null;
    return null;
}

} // namespace

Dataset::Dataset(std::unique_ptr<TableStore> store, const std::string& keyField)
    : store_(std::move(store)) {
    if (!store_)
        throw BrimloError("No table to open");
    fields_ = store_->fields();
    for (size_t i = 0; i < fields_.size(); ++i)
        names_.emplace(fields_[i].name, static_cast<int>(i));
    onChange_.resize(fields_.size());
    if (!keyField.empty())
        key_ = fieldIndex(keyField);
    load();
}

Dataset::~Dataset() = default;

void Dataset::close() {
    store_.reset();
    rows_.clear();
    current_.clear();
    other_.clear();
    columns_.clear();
    locateIndex_.reset();
    buffer_.clear();
    state_ = DatasetState::Browse;
    modified_ = false;
    cur_ = -1;
    bof_ = eof_ = true;
    notify(DataEvent::DataSetChange);
}

TableStore& Dataset::store() {
    requireOpen();
    return *store_;
}

void Dataset::requireOpen() const {
    if (!store_)
        throw BrimloError("Cannot perform this operation on a closed dataset");
}

void Dataset::load() {
    rows_.clear();
    current_.clear();
    other_.clear();
    currentId_ = otherId_ = 0;
    columns_.clear();
    locateIndex_.reset();
    onDemand_ = key_ < 0 && store_->readsOnDemand();
    if (onDemand_) {
        for (RowId id : store_->readIds())
            rows_.push_back(Row{id, {}});
        generation_ = store_->generation();
        idsAscending_ = std::is_sorted(rows_.begin(), rows_.end(),
                                       [](const Row& a, const Row& b) { return a.id < b.id; });
    } else {
        std::vector<StoredRow> stored = store_->readAll();
        generation_ = store_->generation();
        for (auto& row : stored) {
            row.values.resize(fields_.size());
            rows_.push_back(Row{row.id, std::move(row.values)});
        }
    }
    if (key_ >= 0) {
        const FieldType type = fields_[static_cast<size_t>(key_)].type;
        const auto k = static_cast<size_t>(key_);
        std::stable_sort(rows_.begin(), rows_.end(), [type, k](const Row& a, const Row& b) {
            return CompareFieldValues(type, a.values[k], b.values[k]) < 0;
        });
    }
    cur_ = firstVisible();
    bof_ = true;
    eof_ = cur_ < 0;
}

void Dataset::refresh() {
    requireOpen();
    checkBrowseMode();
    const Bookmark mark = bookmark();
    const Record current = cur_ >= 0 ? valuesOf(cur_) : Record{};
    load();
    int at = mark ? indexOf(mark.id) : -1;
    if (at < 0 && mark) // the ids were given anew (a pack): the same values
        at = findValues(current);
    if (at >= 0 && visible(at)) {
        cur_ = at;
        bof_ = eof_ = false;
    }
    notify(DataEvent::DataSetChange);
}

int Dataset::findField(std::string_view name) const {
    const auto it = names_.find(name);
    return it == names_.end() ? -1 : it->second;
}

int Dataset::fieldIndex(std::string_view name) const {
    const int index = findField(name);
    if (index < 0)
        throw BrimloError("Field '" + std::string(name) + "' not found");
    return index;
}

const Value& Dataset::field(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= fields_.size())
        throw BrimloError("Field index out of range");
    if (state_ != DatasetState::Browse)
        return buffer_[static_cast<size_t>(index)];
    if (cur_ < 0)
        return NullValue();
    return valuesOf(cur_)[static_cast<size_t>(index)];
}

Record Dataset::record() const {
    if (state_ != DatasetState::Browse)
        return buffer_;
    if (cur_ < 0)
        return Record(fields_.size());
    return valuesOf(cur_);
}

void Dataset::setField(int index, const Value& value) {
    requireOpen();
    if (state_ == DatasetState::Browse)
        throw BrimloError("Dataset not in edit or insert mode");
    if (index < 0 || static_cast<size_t>(index) >= fields_.size())
        throw BrimloError("Field index out of range");
    const auto i = static_cast<size_t>(index);
    buffer_[i] = CoerceToField(fields_[i], value);
    modified_ = true;
    notify(DataEvent::FieldChange, index);
    // Copied: the reaction may replace itself.
    const auto reaction = onChange_[i];
    fire(reaction);
}

void Dataset::setOnChange(std::string_view name, std::function<void()> reaction) {
    onChange_[static_cast<size_t>(fieldIndex(name))] = std::move(reaction);
}

void Dataset::fire(const std::function<void()>& reaction) {
    if (reaction)
        reaction();
}

void Dataset::notify(DataEvent event, int field) {
    if (disableCount_ > 0 || listeners_.empty())
        return;
    const auto listeners = listeners_;
    for (const auto& entry : listeners)
        entry.second(event, field);
}

void Dataset::checkBrowseMode() {
    if (state_ == DatasetState::Browse)
        return;
    notify(DataEvent::UpdateRecord);
    if (modified_)
        writeRecord();
    else
        cancel();
}

bool Dataset::isEmpty() const {
    return state_ != DatasetState::Insert && firstVisible() < 0;
}

int Dataset::recordCount() const {
    if (!filtered_)
        return static_cast<int>(rows_.size());
    int count = 0;
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i)
        count += visible(i) ? 1 : 0;
    return count;
}

int Dataset::recNo() const {
    if (state_ == DatasetState::Insert)
        return recordCount() + 1;
    if (cur_ < 0)
        return 0;
    if (!filtered_)
        return cur_ + 1;
    int n = 0;
    for (int i = 0; i <= cur_; ++i)
        n += visible(i) ? 1 : 0;
    return n;
}

// --- editing -------------------------------------------------------------

void Dataset::insert() {
    requireOpen();
    checkBrowseMode();
    fire(events.beforeInsert);
    fire(events.beforeScroll);
    beforeInsert_ = cur_;
    buffer_.assign(fields_.size(), Value());
    state_ = DatasetState::Insert;
    modified_ = false;
    bof_ = eof_ = false;
    notify(DataEvent::StateChange);
    notify(DataEvent::DataSetChange);
    fire(events.afterInsert);
    fire(events.afterScroll);
}

void Dataset::edit() {
    requireOpen();
    if (state_ != DatasetState::Browse)
        return;
    if (cur_ < 0) {
        insert();
        return;
    }
    fire(events.beforeEdit);
    buffer_ = valuesOf(cur_);
    state_ = DatasetState::Edit;
    modified_ = false;
    notify(DataEvent::StateChange);
    fire(events.afterEdit);
}

void Dataset::post() {
    requireOpen();
    if (state_ == DatasetState::Browse)
        return;
    notify(DataEvent::UpdateRecord);
    writeRecord();
}

void Dataset::writeRecord() {
    if (state_ == DatasetState::Browse)
        return;
    fire(events.beforePost);
    if (state_ == DatasetState::Browse)
        return;
    RowId id = 0;
    writeShared("saved", [this, &id] {
        checkKey();
        if (state_ == DatasetState::Insert) {
            id = store_->insert(buffer_);
            if (!rows_.empty() && id < rows_.back().id)
                idsAscending_ = false;
        } else {
            id = rows_[static_cast<size_t>(cur_)].id;
            store_->update(id, buffer_);
            unindex(cur_);
        }
    });
    cur_ = placePosted(id);
    reindex(cur_);
    endEditing();
    if (!visible(cur_)) {
        const int next = nextVisible(cur_);
        cur_ = next >= 0 ? next : priorVisible(cur_);
    }
    bof_ = eof_ = cur_ < 0;
    notify(DataEvent::StateChange);
    notify(DataEvent::DataSetChange);
    fire(events.afterPost);
}

void Dataset::cancel() {
    requireOpen();
    if (state_ == DatasetState::Browse)
        return;
    fire(events.beforeCancel);
    if (state_ == DatasetState::Insert) {
        cur_ = beforeInsert_;
        bof_ = eof_ = cur_ < 0;
    }
    endEditing();
    notify(DataEvent::StateChange);
    notify(DataEvent::DataSetChange);
    fire(events.afterCancel);
}

void Dataset::remove() {
    requireOpen();
    if (state_ == DatasetState::Insert) {
        cancel();
        return;
    }
    if (cur_ < 0)
        throw BrimloError("Cannot perform this operation on an empty dataset");
    fire(events.beforeDelete);
    fire(events.beforeScroll);
    writeShared("deleted", [this] {
        store_->remove(rows_[static_cast<size_t>(cur_)].id);
        unindex(cur_);
    });
    const int gone = cur_;
    rows_.erase(rows_.begin() + gone);
    placeInColumns(gone, false);
    endEditing();
    // The record after the deleted one takes its place; deleting the last
    // one leaves its predecessor current at the end.
    const int after = nextVisible(gone - 1);
    cur_ = after >= 0 ? after : priorVisible(gone);
    bof_ = cur_ < 0;
    eof_ = after < 0;
    notify(DataEvent::StateChange);
    notify(DataEvent::DataSetChange);
    fire(events.afterDelete);
    fire(events.afterScroll);
}

void Dataset::endEditing() {
    state_ = DatasetState::Browse;
    buffer_.clear();
    modified_ = false;
    beforeInsert_ = -1;
}

int Dataset::keyPosition(const Record& values) const {
    const auto k = static_cast<size_t>(key_);
    const FieldType type = fields_[k].type;
    const auto it = std::upper_bound(rows_.begin(), rows_.end(), values[k],
                                     [type, k](const Value& v, const Row& row) {
                                         return CompareFieldValues(type, v, row.values[k]) < 0;
                                     });
    return static_cast<int>(it - rows_.begin());
}

void Dataset::checkKey() const {
    if (key_ < 0)
        return;
    const auto k = static_cast<size_t>(key_);
    const FieldType type = fields_[k].type;
    const int after = keyPosition(buffer_);
    if (after == 0)
        return;
    const Row& before = rows_[static_cast<size_t>(after - 1)];
    const bool same = CompareFieldValues(type, before.values[k], buffer_[k]) == 0;
    const bool itself = state_ == DatasetState::Edit && after - 1 == cur_;
    if (same && !itself)
        throw BrimloError("Key violation.");
}

// Puts the just-written buffer into the row list and answers its index.
int Dataset::placePosted(RowId id) {
    Row row{id, std::move(buffer_)};
    if (state_ == DatasetState::Edit) {
        // An edit that keeps the key keeps the row's place: no shifting.
        auto& current = rows_[static_cast<size_t>(cur_)];
        const auto k = static_cast<size_t>(key_);
        if (key_ < 0 ||
            CompareFieldValues(fields_[k].type, current.values[k], row.values[k]) == 0) {
            current = std::move(row);
            return cur_;
        }
        rows_.erase(rows_.begin() + cur_);
    }
    int at = static_cast<int>(rows_.size());
    if (key_ >= 0)
        at = keyPosition(row.values);
    else if (state_ == DatasetState::Edit)
        at = cur_;
    rows_.insert(rows_.begin() + at, std::move(row));
    placeInColumns(at, true);
    return at;
}

// --- moving --------------------------------------------------------------

int Dataset::indexAt(int position) const {
    if (position < 0 || position >= static_cast<int>(rows_.size()))
        return -1;
    if (!filtered_)
        return position;
    for (int i = nextVisible(-1); i >= 0; i = nextVisible(i))
        if (position-- == 0)
            return i;
    return -1;
}

Record Dataset::recordAt(int position) const {
    const int index = indexAt(position);
    return index < 0 ? Record(fields_.size()) : valuesOf(index);
}

Value Dataset::fieldAt(int position, int field) const {
    if (field < 0 || static_cast<size_t>(field) >= fields_.size())
        throw BrimloError("Field index out of range");
    const int index = indexAt(position);
    return index < 0 ? Value() : fieldOf(index, field);
}

bool Dataset::visible(int index) const {
    if (index < 0 || index >= static_cast<int>(rows_.size()))
        return false;
    return !filtered_ || matches(index, filter_);
}

int Dataset::firstVisible() const {
    return nextVisible(-1);
}

int Dataset::lastVisible() const {
    return priorVisible(static_cast<int>(rows_.size()));
}

int Dataset::nextVisible(int index) const {
    for (int i = index + 1; i < static_cast<int>(rows_.size()); ++i)
        if (visible(i))
            return i;
    return -1;
}

int Dataset::priorVisible(int index) const {
    for (int i = std::min(index, static_cast<int>(rows_.size())) - 1; i >= 0; --i)
        if (visible(i))
            return i;
    return -1;
}

void Dataset::moveTo(int index) {
    cur_ = index;
    notify(DataEvent::DataSetChange);
    fire(events.afterScroll);
}

void Dataset::first() {
    requireOpen();
    checkBrowseMode();
    fire(events.beforeScroll);
    const int to = firstVisible();
    bof_ = true;
    eof_ = to < 0;
    moveTo(to);
}

void Dataset::last() {
    requireOpen();
    checkBrowseMode();
    fire(events.beforeScroll);
    const int to = lastVisible();
    eof_ = true;
    bof_ = to < 0;
    moveTo(to);
}

void Dataset::next() {
    requireOpen();
    checkBrowseMode();
    fire(events.beforeScroll);
    if (eof_)
        return;
    bof_ = false;
    const int to = nextVisible(cur_);
    eof_ = to < 0;
    moveTo(to < 0 ? cur_ : to);
}

void Dataset::prior() {
    requireOpen();
    checkBrowseMode();
    fire(events.beforeScroll);
    if (bof_)
        return;
    eof_ = false;
    const int to = priorVisible(cur_);
    bof_ = to < 0;
    moveTo(to < 0 ? cur_ : to);
}

int Dataset::indexOf(RowId id) const {
    if (onDemand_ && idsAscending_) {
        const auto it =
            std::lower_bound(rows_.begin(), rows_.end(), id,
                             [](const Row& row, RowId wanted) { return row.id < wanted; });
        return it != rows_.end() && it->id == id ? static_cast<int>(it - rows_.begin()) : -1;
    }
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].id == id)
            return static_cast<int>(i);
    return -1;
}

Bookmark Dataset::bookmark() const {
    if (!store_ || cur_ < 0 || state_ == DatasetState::Insert)
        return Bookmark{};
    return Bookmark{rows_[static_cast<size_t>(cur_)].id, true};
}

bool Dataset::bookmarkValid(const Bookmark& mark) const {
    return mark && indexOf(mark.id) >= 0;
}

void Dataset::gotoBookmark(const Bookmark& mark) {
    requireOpen();
    if (!mark)
        return;
    checkBrowseMode();
    const int at = indexOf(mark.id);
    if (at < 0)
        throw BrimloError("Record/Key deleted.");
    fire(events.beforeScroll);
    bof_ = eof_ = false;
    moveTo(at);
}

// --- locate and filter ---------------------------------------------------

Dataset::Criteria Dataset::criteria(const std::vector<FieldMatch>& matches) const {
    Criteria wanted;
    for (const auto& m : matches) {
        const int index = fieldIndex(m.field);
        wanted.emplace_back(index, CoerceToField(fields_[static_cast<size_t>(index)], m.value));
    }
    return wanted;
}

bool Dataset::matches(int row, const Criteria& wanted, bool wholeRecord) const {
    // A whole record is one read where a field alone would read its column.
    const Record* record = wholeRecord ? &valuesOf(row) : nullptr;
    for (const auto& [index, value] : wanted) {
        const auto i = static_cast<size_t>(index);
        if (CompareFieldValues(fields_[i].type, record ? (*record)[i] : fieldOf(row, index),
                               value) != 0)
            return false;
    }
    return true;
}

const Record& Dataset::valuesOf(int index) const {
    const Row& row = rows_[static_cast<size_t>(index)];
    if (!onDemand_ || !row.values.empty())
        return row.values;
    const bool current = index == cur_;
    RowId& id = current ? currentId_ : otherId_;
    Record& values = current ? current_ : other_;
    if (id != row.id || values.empty()) {
        values = store_->read(row.id);
        values.resize(fields_.size());
        id = row.id;
    }
    return values;
}

Value Dataset::fieldOf(int index, int field) const {
    const Row& row = rows_[static_cast<size_t>(index)];
    const auto f = static_cast<size_t>(field);
    if (!onDemand_ || !row.values.empty())
        return row.values[f];
    if (currentId_ == row.id && !current_.empty())
        return current_[f];
    if (const std::vector<Value>* values = column(field))
        return (*values)[static_cast<size_t>(index)];
    return valuesOf(index)[f];
}

// A whole field of the table, read once; null when the store's order does
// not line up with the rows (then records are read one by one).
const std::vector<Value>* Dataset::column(int field) const {
    auto it = columns_.find(field);
    if (it == columns_.end()) {
        std::vector<Value> values = std::move(store_->readColumns({field}).at(0));
        if (values.size() != rows_.size())
            return nullptr;
        it = columns_.emplace(field, std::move(values)).first;
    }
    return &it->second;
}

namespace {

// Equal keys for values a field compares as equal (CompareFieldValues).
void AppendKey(std::string& key, FieldType type, const Value& value) {
    if (value.isNull()) {
        key += 'N';
        return;
    }
    switch (type) {
    case FieldType::Alpha:
        key += 'S' + std::to_string(value.asString().size()) + ':' + value.asString();
        return;
    case FieldType::Date:
        key += 'D' + std::to_string(value.asDate().days);
        return;
    case FieldType::Logical:
        key += value.asBool() ? 'T' : 'F';
        return;
    default: {
        const double number = value.asDouble();
        char text[32];
        std::snprintf(text, sizeof text, "%.17g", number == 0.0 ? 0.0 : number);
        key += 'F';
        key += text;
        key += ';';
    }
    }
}

} // namespace

std::string Dataset::keyOf(int row, const std::vector<int>& fields) const {
    std::string key;
    for (int field : fields)
        AppendKey(key, fields_[static_cast<size_t>(field)].type, fieldOf(row, field));
    return key;
}

// The first visible row matching, through an index of the criteria's fields
// built at the first locate on them and kept up to date by every change.
int Dataset::locateIndexed(const Criteria& wanted) const {
    std::vector<int> fields;
    std::string key;
    for (const auto& [field, value] : wanted) {
        fields.push_back(field);
        AppendKey(key, fields_[static_cast<size_t>(field)].type, value);
    }
    if (!locateIndex_ || locateIndex_->fields != fields) {
        locateIndex_ = std::make_unique<LocateIndex>();
        locateIndex_->fields = fields;
        for (int i = 0; i < static_cast<int>(rows_.size()); ++i)
            locateIndex_->rows[keyOf(i, fields)].push_back(rows_[static_cast<size_t>(i)].id);
    }
    const auto found = locateIndex_->rows.find(key);
    if (found == locateIndex_->rows.end())
        return -1;
    return firstMatching(found->second, wanted, false);
}

// The first in table order of the records with these ids that are shown and
// match.
int Dataset::firstMatching(const std::vector<RowId>& ids, const Criteria& wanted,
                           bool wholeRecords) const {
    int first = -1;
    for (RowId id : ids) {
        const int i = indexOf(id);
        if (i >= 0 && (first < 0 || i < first) && visible(i) && matches(i, wanted, wholeRecords))
            first = i;
    }
    return first;
}

void Dataset::unindex(int row) {
    if (!locateIndex_)
        return;
    const auto found = locateIndex_->rows.find(keyOf(row, locateIndex_->fields));
    if (found == locateIndex_->rows.end())
        return;
    std::vector<RowId>& ids = found->second;
    ids.erase(std::remove(ids.begin(), ids.end(), rows_[static_cast<size_t>(row)].id), ids.end());
}

void Dataset::reindex(int row) {
    if (locateIndex_ && row >= 0)
        locateIndex_->rows[keyOf(row, locateIndex_->fields)].push_back(
            rows_[static_cast<size_t>(row)].id);
}

// Keeps the fields read whole in line with the rows. A posted row holds its
// values itself, so its place in a column is only kept.
void Dataset::placeInColumns(int at, bool inserted) {
    static const Value kBlank;
    for (auto& [field, values] : columns_) {
        if (inserted)
            values.insert(values.begin() + at, kBlank);
        else
            values.erase(values.begin() + at);
    }
}

bool Dataset::locate(const std::vector<FieldMatch>& matchList) {
    requireOpen();
    const Criteria wanted = criteria(matchList);
    checkBrowseMode();
    if (onDemand_ && idsAscending_) {
        // A store with an index on the fields spares reading whole columns.
        const std::optional<std::vector<RowId>> candidates = store_->findIds(wanted);
        const int i = candidates ? firstMatching(*candidates, wanted, true) : locateIndexed(wanted);
        if (i < 0)
            return false;
        fire(events.beforeScroll);
        bof_ = eof_ = false;
        moveTo(i);
        return true;
    }
    for (int i = firstVisible(); i >= 0; i = nextVisible(i)) {
        if (matches(i, wanted)) {
            fire(events.beforeScroll);
            bof_ = eof_ = false;
            moveTo(i);
            return true;
        }
    }
    return false;
}

void Dataset::setFilter(const std::vector<FieldMatch>& matchList) {
    requireOpen();
    Criteria wanted = criteria(matchList);
    checkBrowseMode();
    filter_ = std::move(wanted);
    if (filtered_)
        first();
}

void Dataset::setFiltered(bool on) {
    requireOpen();
    checkBrowseMode();
    if (filtered_ == on)
        return;
    filtered_ = on;
    first();
}

// --- bound controls ------------------------------------------------------

void Dataset::disableControls() {
    ++disableCount_;
}

void Dataset::enableControls() {
    if (disableCount_ == 0)
        return;
    if (--disableCount_ == 0)
        notify(DataEvent::DataSetChange);
}

int Dataset::addListener(Listener listener) {
    const int id = nextListener_++;
    listeners_.emplace_back(id, std::move(listener));
    return id;
}

void Dataset::removeListener(int id) {
    std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

// --- storage -------------------------------------------------------------

void Dataset::beginBulk() {
    requireOpen();
    store_->beginBulk();
    if (!store_->shared())
        return;
    try {
        syncWithStore();
    } catch (...) {
        store_->endBulk();
        throw;
    }
}

bool Dataset::catchUp() {
    requireOpen();
    if (!store_->shared() || isEditing())
        return false;
    store_->refresh();
    return syncWithStore();
}

int Dataset::findValues(const Record& values) const {
    if (values.empty())
        return -1;
    // The first field read whole rules out most records before one is read.
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i)
        if (fieldOf(i, 0) == values[0] && valuesOf(i) == values)
            return i;
    return -1;
}

// Another process changed the store since the records were read: read them
// again, and find the current record (and the one an insert started from)
// again by their values; -1 when another process deleted or changed it.
bool Dataset::syncWithStore() {
    if (store_->generation() == generation_)
        return false;
    // The store has read the table anew, so a record read on demand and not
    // at hand cannot be read by its old id any more: it is found by nothing.
    const auto valuesAt = [this](int index) -> Record {
        if (index < 0)
            return {};
        const Row& row = rows_[static_cast<size_t>(index)];
        if (!onDemand_ || !row.values.empty())
            return row.values;
        if (currentId_ == row.id && !current_.empty())
            return current_;
        if (otherId_ == row.id && !other_.empty())
            return other_;
        return {};
    };
    const bool hadCurrent = cur_ >= 0;
    const bool hadBefore = beforeInsert_ >= 0;
    const Record current = valuesAt(cur_);
    const Record before = valuesAt(beforeInsert_);
    const bool bof = bof_;
    const bool eof = eof_;
    load();
    if (hadCurrent)
        cur_ = findValues(current);
    if (hadBefore)
        beforeInsert_ = findValues(before);
    if (state_ != DatasetState::Browse) {
        bof_ = bof;
        eof_ = eof;
    } else if (cur_ < 0) {
        cur_ = firstVisible();
        bof_ = true;
        eof_ = cur_ < 0;
    } else {
        bof_ = eof_ = false;
    }
    notify(DataEvent::DataSetChange);
    return true;
}

// Writes to the store; a shared store is locked and brought up to date
// first, and a record another process changed or deleted in the meantime is
// refused rather than written over another.
template <class Write> void Dataset::writeShared(const char* what, Write write) {
    if (!store_->shared()) {
        write();
        return;
    }
    const bool current = cur_ >= 0;
    store_->beginBulk();
    try {
        syncWithStore();
        if (state_ != DatasetState::Insert && current && cur_ < 0)
            throw BrimloError(std::string("The record cannot be ") + what +
                              ": another user changed or deleted it since it was read");
        write();
    } catch (...) {
        try {
            store_->endBulk();
        } catch (...) {
            // the first error is the one to show
        }
        throw;
    }
    store_->endBulk();
}

void Dataset::endBulk() {
    requireOpen();
    try {
        store_->endBulk();
    } catch (...) {
        // What the memory holds may no longer be on disk: show the disk.
        endEditing();
        load();
        notify(DataEvent::DataSetChange);
        throw;
    }
}

void Dataset::pack() {
    requireOpen();
    checkBrowseMode();
    store_->pack();
    refresh();
}

} // namespace brimlo
