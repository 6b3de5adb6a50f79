#pragma once

#include "support/FieldDef.h"
#include "support/Value.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace brimlo {

using RowId = int64_t;

struct StoredRow {
    RowId id;
    Record values;
};

// Where a dataset's records live on disk. Every change is durable when the
// call returns (or, inside a bulk, when endBulk returns) and atomic: a
// crash leaves the old or the new record, never a torn one. Failures throw
// BrimloError naming the file and what went wrong.
//
// Implementations: SqliteStore (private tables: defaults, workspaces) and
// ParadoxStore (master.db, exchanged with other programs).
class TableStore {
public:
    virtual ~TableStore() = default;

    virtual const FieldList& fields() const = 0;
    // Every record in the table's order (insertion order; a store may keep
    // another order, the dataset sorts when it has a key).
    virtual std::vector<StoredRow> readAll() = 0;
    // Appends a record; returns its id, stable until pack().
    virtual RowId insert(const Record& values) = 0;
    virtual void update(RowId id, const Record& values) = 0;
    virtual void remove(RowId id) = 0;
    // Many changes in one durable step (reading a load file, recomputing a
    // whole load). Nested calls count.
    virtual void beginBulk() = 0;
    virtual void endBulk() = 0;
    // Reclaims the space of removed records; ids may change.
    virtual void pack() = 0;

    // A store of a large table reads records when asked rather than all at
    // once: a dataset over it keeps their ids only and reads a record when
    // it is shown, and whole columns for a locate or a filter.
    virtual bool readsOnDemand() const { return false; }
    // The ids in the table's order, reading no record.
    virtual std::vector<RowId> readIds();
    virtual Record read(RowId id);
    // The given fields of every record, in the table's order: one vector per
    // field, decoding nothing else.
    virtual std::vector<std::vector<Value>> readColumns(const std::vector<int>& fields);
    // A store that finds records by their values itself (a database server,
    // by its index) gives the ids of the records that may hold these values
    // of these fields; nothing when it cannot, and the dataset searches the
    // fields' columns instead.
    virtual std::optional<std::vector<RowId>>
    findIds(const std::vector<std::pair<int, Value>>& /*matches*/) {
        return std::nullopt;
    }

    // A store whose file other processes change too (master.db): a change
    // made between beginBulk and endBulk sees the file as it is then.
    virtual bool shared() const { return false; }
    // Grows each time the store read its file anew because another process
    // changed it (at beginBulk, at a change, at refresh): the ids of before
    // are no longer good.
    virtual uint64_t generation() const { return 0; }
    // Catches up with changes other processes made to the file.
    virtual void refresh() {}
};

} // namespace brimlo
