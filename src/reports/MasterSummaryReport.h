#pragma once

#include "reports/BandedReport.h"
#include "reports/MasterReportRows.h"

#include <string>
#include <vector>

class QWidget;

namespace brimlo {

class Prompt;

class Dataset;

// The whole master file compactly on landscape paper: one block of one to
// three lines per record with its net volume per group in a four-column
// grid and four figures for the load.
class TfrmMasterSummary {
public:
    TfrmMasterSummary();

    // Lays out the records the master table shows; they are read from it
    // again as their pages are painted.
    void Prepare(Dataset& master);
    void Prepare(std::vector<MasterReportRecord> records);
    void Prepare(MasterReportRows rows);

    const BandedReport& report() const { return rptMasterSummary; }

private:
    ReportBand MakeTitleBand() const;
    ReportBand MakeDetailBand(int index) const;

    BandedReport rptMasterSummary;
    MasterReportRows rows_;
};

// "Print Master File Summary": every master record, in table order.
void PreviewMasterSummary(QWidget* parent, Dataset& master, Prompt& prompt);
// The same report as a PDF file.
void SaveMasterSummaryPdf(const std::string& fileName, Dataset& master);

} // namespace brimlo
