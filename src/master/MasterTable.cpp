#include "master/MasterTable.h"

#include "master/MasterFields.h"
#include "support/BrimloError.h"

namespace brimlo {

MasterTable::MasterTable(TableStore& store) : store_(store) {
    refresh();
}

void MasterTable::refresh() {
    rows_ = store_.readAll();
    if (current_ >= recordCount())
        current_ = recordCount() - 1;
    if (current_ < 0 && !rows_.empty())
        current_ = 0;
}

const Record& MasterTable::at(int index) const {
    if (index < 0 || index >= recordCount())
        throw BrimloError("The master table has no record " + std::to_string(index + 1));
    return rows_[static_cast<std::size_t>(index)].values;
}

void MasterTable::setCurrentIndex(int index) {
    at(index);
    current_ = index;
}

namespace {

// Fields a short record lacks read as null, as the table engine promises.
const Value& FieldOf(const Record& record, int index) {
    static const Value null;
    return index < static_cast<int>(record.size()) ? record[static_cast<std::size_t>(index)] : null;
}

} // namespace

bool MasterTable::locate(const std::string& millCode, int32_t loadNum, int16_t pop) {
    for (int i = 0; i < recordCount(); ++i) {
        const Record& r = rows_[static_cast<std::size_t>(i)].values;
        if (FieldOf(r, kMasterMillCode).asString() == millCode &&
            FieldOf(r, kMasterLoadNum).asInt() == loadNum &&
            FieldOf(r, kMasterPop).asInt() == pop) {
            current_ = i;
            return true;
        }
    }
    return false;
}

void MasterTable::updateCurrent(const Record& values) {
    at(current_);
    StoredRow& row = rows_[static_cast<std::size_t>(current_)];
    store_.update(row.id, values);
    row.values = values;
}

void MasterTable::append(const Record& values) {
    const RowId id = store_.insert(values);
    rows_.push_back(StoredRow{id, values});
    current_ = recordCount() - 1;
}

void MasterTable::removeCurrent() {
    at(current_);
    store_.remove(rows_[static_cast<std::size_t>(current_)].id);
    rows_.erase(rows_.begin() + current_);
    if (current_ >= recordCount())
        current_ = recordCount() - 1;
}

} // namespace brimlo
