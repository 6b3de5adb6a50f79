#pragma once

#include "support/TableStore.h"

#include <cstdint>
#include <string>
#include <vector>

namespace brimlo {

// The master table as the master logic sees it: its records in table order
// and a current record, over the store that keeps them on disk. Every change
// goes to the store at once, so a posted record is durable when the call
// returns.
class MasterTable {
public:
    explicit MasterTable(TableStore& store);

    // Reads the records again (after another user of the store changed it).
    void refresh();

    int recordCount() const { return static_cast<int>(rows_.size()); }
    bool isEmpty() const { return rows_.empty(); }
    const Record& at(int index) const;

    // Index of the current record in table order; -1 when the table is empty.
    int currentIndex() const { return current_; }
    void setCurrentIndex(int index);
    const Record& current() const { return at(current_); }

    // Makes the first record with this key current: exact, case-sensitive
    // mill code. Nothing found leaves the current record where it was.
    bool locate(const std::string& millCode, int32_t loadNum, int16_t pop);

    void updateCurrent(const Record& values);
    // Adds a record at the end of the table order and makes it current.
    void append(const Record& values);
    void removeCurrent();

private:
    TableStore& store_;
    std::vector<StoredRow> rows_;
    int current_ = -1;
};

} // namespace brimlo
