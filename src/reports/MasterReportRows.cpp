#include "reports/MasterReportRows.h"

#include "master/MasterFields.h"
#include "reports/ReportTotals.h"
#include "support/BrimloError.h"
#include "support/Dataset.h"

namespace brimlo {

MasterReportRows::MasterReportRows(std::vector<MasterReportRecord> records)
    : records_(std::move(records)) {
    groups_.reserve(records_.size());
    for (const MasterReportRecord& m : records_)
        groups_.push_back(static_cast<uint8_t>(m.numGroups));
}

MasterReportRows::MasterReportRows(const Dataset& master) {
    const int count = master.recordCount();
    if (master.filtered()) {
        for (int i = 0; i < count; ++i)
            records_.push_back(ReadMasterReportRecord(master.recordAt(i)));
        *this = MasterReportRows(std::move(records_));
        return;
    }
    master_ = &master;
    groups_.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int groups = UsedGroups(master.fieldAt(i, kMasterNumGroups).asInt());
        groups_.push_back(static_cast<uint8_t>(groups));
    }
}

MasterReportRecord MasterReportRows::record(int index) const {
    if (!master_)
        return records_.at(static_cast<size_t>(index));
    try {
        return ReadMasterReportRecord(master_->recordAt(index));
    } catch (const BrimloError&) {
        // Another program changed the table under the open preview: the
        // record is left out rather than the page.
        return MasterReportRecord{};
    }
}

} // namespace brimlo
