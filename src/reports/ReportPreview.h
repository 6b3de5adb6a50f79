#pragma once

#include <memory>
#include <string>

class QPrintPreviewDialog;
class QPrinter;
class QWidget;

namespace brimlo {

class BandedReport;

// The modal print preview of a laid-out report, from which the user prints
// it or saves it as a PDF file. Returns when the preview is closed.
void ShowReportPreview(QWidget* parent, const BandedReport& report);

// The preview dialog over a printer set up for the report, not yet shown;
// its tool bar carries the "Save as PDF..." action.
std::unique_ptr<QPrintPreviewDialog> MakeReportPreview(QWidget* parent, const BandedReport& report,
                                                       QPrinter& printer);

// Writes the report as a PDF file. The file appears only when complete: an
// earlier file of that name stays as it was when writing fails.
void SaveReportPdf(const BandedReport& report, const std::string& fileName);

} // namespace brimlo
