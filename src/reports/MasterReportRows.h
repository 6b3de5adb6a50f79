#pragma once

#include "reports/MasterReportRecord.h"

#include <cstdint>
#include <vector>

namespace brimlo {

class Dataset;

// The master records a report prints, as a page needs them. Laying the
// report out needs only each record's group count, kept here at one byte a
// record; the records themselves are read from the table when their page is
// painted, so a report of 200,000 records holds none of them.
//
// Over the table's own dataset, it must stand still while the report is
// shown (the preview is modal); a filtered table (the report of the current
// record) is read at once, being a record or two.
class MasterReportRows {
public:
    MasterReportRows() = default;
    explicit MasterReportRows(std::vector<MasterReportRecord> records);
    explicit MasterReportRows(const Dataset& master);

    int count() const { return static_cast<int>(groups_.size()); }
    int groupsOf(int index) const { return groups_.at(static_cast<size_t>(index)); }
    // An empty record when the table no longer has one at that place.
    MasterReportRecord record(int index) const;

private:
    const Dataset* master_ = nullptr;
    std::vector<MasterReportRecord> records_;
    std::vector<uint8_t> groups_;
};

} // namespace brimlo
