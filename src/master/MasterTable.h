#pragma once

#include "support/Dataset.h"
#include "support/Value.h"

#include <cstdint>
#include <functional>
#include <string>

namespace brimlo {

// The master table as the master logic uses it, over the main window's
// dataset of master.db: moving here moves the window's table, so whatever
// watches it (the maintenance window) follows. Posted records are on disk
// when the call returns.
class MasterTable {
public:
    explicit MasterTable(Dataset& dataset) : dataset_(dataset) {}

    Dataset& dataset() { return dataset_; }
    bool isEmpty() const { return dataset_.isEmpty(); }
    int recordCount() const { return dataset_.recordCount(); }
    Record current() const { return dataset_.record(); }
    // A field of the current record, without copying the record.
    const Value& field(int index) const { return dataset_.field(index); }

    // Makes the first record with this key current: exact, case-sensitive
    // mill code. Nothing found leaves the current record where it was.
    bool locate(const std::string& millCode, int32_t loadNum, int16_t pop);

    // Writes every field of a master record, in the order given, into the
    // current record (replace) or a new one at the end, and posts it. A
    // failed post is cancelled, leaving the table as it was, and rethrown.
    void post(const Record& values, const std::vector<int>& fieldOrder, bool replaceCurrent);

    // Makes every record current in turn, in table order from the first,
    // and calls visit; the table is left on the last record.
    void forEach(const std::function<void()>& visit);
    // The same, returning afterwards to the record that was current.
    void forEachKeepingPlace(const std::function<void()>& visit);

private:
    Dataset& dataset_;
};

} // namespace brimlo
