#pragma once

#include "reports/BandedReport.h"
#include "reports/MasterReportRows.h"

#include <string>
#include <vector>

class QWidget;

namespace brimlo {

class Prompt;

class Dataset;

// The master file one record after another: header details, the stored
// groups, totals and statistics computed from them. A record's band is
// never split across pages.
class TfrmMasterFull {
public:
    TfrmMasterFull();

    // Lays out the records the master table shows; they are read from it
    // again as their pages are painted.
    void Prepare(Dataset& master);
    void Prepare(std::vector<MasterReportRecord> records);
    void Prepare(MasterReportRows rows);

    const BandedReport& report() const { return rptMasterFull; }

private:
    ReportBand MakeDetailBand(int index) const;

    BandedReport rptMasterFull;
    MasterReportRows rows_;
};

// "Print Master File Report (All)": every master record, in table order.
void PreviewMasterFullAll(QWidget* parent, Dataset& master, Prompt& prompt);
// "Print Master File Report (Current)": only the current master record,
// through a filter on its key that is cleared when the preview closes.
void PreviewMasterFullCurrent(QWidget* parent, Dataset& master, Prompt& prompt);
// The report of every record (or only the current one) as a PDF file.
void SaveMasterFullPdf(const std::string& fileName, Dataset& master, bool currentOnly);

} // namespace brimlo
