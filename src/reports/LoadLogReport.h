#pragma once

#include "load/LoadData.h"
#include "reports/BandedReport.h"

#include <string>

class QWidget;

namespace brimlo {

class Prompt;

class CMaster;

// The log listing of one load: its header details, one line per log and
// the length and volumes of each Sp-Cd-Pr group. The column arrangement
// follows the load's volume calculation method.
class TfrmLoadLogReport {
public:
    TfrmLoadLogReport();

    // Recomputes the load summary into the program's master record object
    // (which posting also uses) and lays the report out from the load.
    void Prepare(const LoadData& load, CMaster& master);

    const BandedReport& report() const { return rptLogListing; }

private:
    ReportBand MakeTitleBand() const;
    ReportBand MakePageHeader() const;
    ReportBand MakeDetailBand(int index) const;
    ReportBand MakeSummaryBand(const CMaster& master) const;

    BandedReport rptLogListing;
    HeaderRecord header_;
    std::vector<LogRecord> logs_;
    bool smalian_ = false;
};

// "Print Load Log Listing": the listing in a modal print preview.
void PreviewLoadLogReport(QWidget* parent, const LoadData& load, CMaster& master, Prompt& prompt);
// The same listing written as a PDF file.
void SaveLoadLogReportPdf(const std::string& fileName, const LoadData& load, CMaster& master);

} // namespace brimlo
