#include "master/MasterOutbox.h"

#include "master/MasterFields.h"
#include "support/BrimloError.h"
#include "support/SqliteStore.h"

#include <filesystem>

namespace brimlo {

namespace {

const size_t kPostedBy = MasterFieldList().size();
const size_t kPostedAt = kPostedBy + 1; // microseconds, exact in a double
const size_t kRefused = kPostedBy + 2;

const FieldList& OutboxFields() {
    static const FieldList fields = [] {
        FieldList f = MasterFieldList();
        f.push_back({"POSTED_BY", FieldType::Alpha, 255});
        f.push_back({"POSTED_AT", FieldType::Number});
        f.push_back({"REFUSED", FieldType::Alpha, 255});
        return f;
    }();
    return fields;
}

bool Waiting(const StoredRow& row) {
    return row.values[kRefused].asString().empty();
}

} // namespace

MasterOutbox::MasterOutbox(const std::string& path)
    : store_(std::filesystem::exists(path) ? SqliteStore::open(path)
                                           : SqliteStore::create(path, OutboxFields())) {
    if (store_->fields() != OutboxFields())
        throw BrimloError("The table '" + path + "' is not an outbox of master posts");
}

MasterOutbox::~MasterOutbox() = default;

void MasterOutbox::add(const MasterPost& post) {
    const MasterKey key = MasterKey::Of(post.values);
    Record values = post.values;
    values.resize(MasterFieldList().size());
    values.resize(OutboxFields().size()); // REFUSED stays null: waiting
    values[kPostedBy] = post.postedBy;
    values[kPostedAt] = static_cast<double>(post.postedAt);
    // One step on disk. The new post goes in first: should dropping the
    // earlier one fail, both stay, and sending both in order ends the same.
    store_->beginBulk();
    try {
        const RowId added = store_->insert(values);
        for (const StoredRow& row : store_->readAll())
            if (row.id != added && Waiting(row) && MasterKey::Of(row.values) == key)
                store_->remove(row.id);
    } catch (...) {
        store_->endBulk();
        throw;
    }
    store_->endBulk();
}

std::optional<MasterOutbox::Entry> MasterOutbox::front() {
    for (StoredRow& row : store_->readAll()) {
        if (!Waiting(row))
            continue;
        MasterPost post;
        post.postedBy = row.values[kPostedBy].asString();
        post.postedAt = static_cast<int64_t>(row.values[kPostedAt].asDouble());
        row.values.resize(MasterFieldList().size());
        post.values = std::move(row.values);
        return Entry{row.id, std::move(post)};
    }
    return std::nullopt;
}

int MasterOutbox::pending() {
    int waiting = 0;
    for (const StoredRow& row : store_->readAll())
        waiting += Waiting(row) ? 1 : 0;
    return waiting;
}

void MasterOutbox::sent(RowId id) {
    store_->remove(id);
}

void MasterOutbox::refused(RowId id, const std::string& why) {
    for (StoredRow& row : store_->readAll())
        if (row.id == id) {
            row.values[kRefused] = why.empty() ? std::string("refused") : why.substr(0, 255);
            store_->update(id, row.values);
        }
}

} // namespace brimlo
