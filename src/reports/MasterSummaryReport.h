#pragma once

#include "reports/BandedReport.h"
#include "reports/MasterReportRecord.h"

#include <string>
#include <vector>

class QWidget;

namespace brimlo {

class Dataset;

// The whole master file compactly on landscape paper: one block of one to
// three lines per record with its net volume per group in a four-column
// grid and four figures for the load.
class TfrmMasterSummary {
public:
    TfrmMasterSummary();

    // Reads the records the master table shows and lays the report out.
    void Prepare(Dataset& master);
    void Prepare(std::vector<MasterReportRecord> records);

    const BandedReport& report() const { return rptMasterSummary; }

private:
    ReportBand MakeTitleBand() const;
    ReportBand MakeDetailBand(int index) const;

    BandedReport rptMasterSummary;
    std::vector<MasterReportRecord> records_;
};

// "Print Master File Summary": every master record, in table order.
void PreviewMasterSummary(QWidget* parent, Dataset& master);
// The same report as a PDF file.
void SaveMasterSummaryPdf(const std::string& fileName, Dataset& master);

} // namespace brimlo
