#include "support/TableStore.h"

#include "support/BrimloError.h"

namespace brimlo {

// Stores that hold their records in memory read them all; these defaults
// serve them.

std::vector<RowId> TableStore::readIds() {
    std::vector<RowId> ids;
    for (const StoredRow& row : readAll())
        ids.push_back(row.id);
    return ids;
}

Record TableStore::read(RowId id) {
    for (StoredRow& row : readAll())
        if (row.id == id)
            return std::move(row.values);
    throw BrimloError("Record " + std::to_string(id) + " is not in the table");
}

std::vector<std::vector<Value>> TableStore::readColumns(const std::vector<int>& fields) {
    std::vector<std::vector<Value>> columns(fields.size());
    for (const StoredRow& row : readAll())
        for (size_t c = 0; c < fields.size(); ++c)
            columns[c].push_back(row.values.at(static_cast<size_t>(fields[c])));
    return columns;
}

} // namespace brimlo
