#pragma once

#include "load/LoadSummary.h"
#include "reports/ReportTexts.h"
#include "support/Value.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace brimlo {

class Dataset;

// What the master reports print of one master record, read once when the
// report is prepared so that painting a page does not move the table.
struct MasterReportRecord {
    HeaderBlockTexts header; // integers plainly, texts as stored, an empty field as nothing
    QString millCode;
    QString totalLogs;
    int64_t trees = 0;
    double netWeight = 0.0;
    int numGroups = 0; // held to 0..12
    std::array<SummaryGroup, LoadSummary::kMaxGroups> groups{};
};

MasterReportRecord ReadMasterReportRecord(const Record& record);
// Every record the master table shows, in its order; the table returns to
// the record that was current.
std::vector<MasterReportRecord> ReadMasterReportRecords(Dataset& master);

} // namespace brimlo
