#pragma once

#include "load/CheckScaleComparison.h"
#include "reports/BandedReport.h"

#include <string>
#include <vector>

class QWidget;

namespace brimlo {

class Prompt;

// The printed check scale comparison: both loads and the tolerances, the
// figures and verdict of every Sp-Cd-Pr group and of the load, the logs the
// two scalers measured differently and the logs only one of them holds.
class TfrmCheckScaleReport {
public:
    TfrmCheckScaleReport();

    void Prepare(const CheckScaleComparison& comparison);

    const BandedReport& report() const { return rptCheckScale; }

private:
    // The detail bands, one per row, in printing order.
    enum class RowKind {
        GroupHeading,
        Group,
        Load,
        LogHeading,
        Log,
        NoLog,
        OneSideHeading,
        OneSide
    };
    struct Row {
        RowKind kind;
        std::size_t index; // into the comparison's groups, logs or unmatched logs
    };

    void CollectRows();
    double RowHeight(const Row& row) const;
    ReportBand RowBand(const Row& row) const;
    ReportBand MakeTitleBand() const;

    BandedReport rptCheckScale;
    CheckScaleComparison comparison_;
    std::vector<Row> rows_;
};

// The comparison in a modal print preview, from which it is printed or
// saved as PDF.
void PreviewCheckScaleReport(QWidget* parent, const CheckScaleComparison& comparison,
                             Prompt& prompt);
// The comparison written as a PDF file.
void SaveCheckScaleReportPdf(const std::string& fileName, const CheckScaleComparison& comparison);

} // namespace brimlo
