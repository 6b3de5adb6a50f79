#pragma once

#include "load/LoadData.h"
#include "reports/BandedReport.h"

#include <string>

class QWidget;

namespace brimlo {

class Prompt;

class CMaster;

// The one-page statement of a load: header details, one line per Sp-Cd-Pr
// group, totals, the load's statistics and the three signature boxes.
class TfrmLoadSummary {
public:
    TfrmLoadSummary();

    // Recomputes the load summary into the program's master record object
    // and lays the report out from it.
    void Prepare(const LoadData& load, CMaster& master);

    const BandedReport& report() const { return rptLoadSummary; }

private:
    ReportBand MakeTitleBand(const HeaderRecord& header) const;
    ReportBand MakeDetailBand(const CMaster& master) const;
    ReportBand MakeSummaryBand(const CMaster& master) const;

    BandedReport rptLoadSummary;
};

// "Print Load Summary": the summary in a modal print preview.
void PreviewLoadSummary(QWidget* parent, const LoadData& load, CMaster& master, Prompt& prompt);
// "Print Full Load Report" (and F5 in the load window): the log listing,
// then, once its preview is closed, the load summary.
void PreviewFullLoadReport(QWidget* parent, const LoadData& load, CMaster& master, Prompt& prompt);
// The summary written as a PDF file.
void SaveLoadSummaryPdf(const std::string& fileName, const LoadData& load, CMaster& master);

} // namespace brimlo
