#pragma once

#include <QDialog>
#include <QImage>
#include <memory>
#include <string>

class QLabel;
class QPrinter;
class QWidget;

namespace brimlo {

class BandedReport;
class Prompt;
class ReportPageView;

// The print preview of a laid-out report: its pages fitted to the window's
// width, painted as they come into view, with keys for the pages (Page Up,
// Page Down, Home, End) and the zoom (+, -, Ctrl+0 back to the width), and
// tool bar actions to print (Ctrl+P) or save a PDF file (Ctrl+S).
class ReportPreview : public QDialog {
    Q_OBJECT
public:
    // The printer is set up for the report and must outlive the preview;
    // errors of printing and saving are told on prompt.
    ReportPreview(const BandedReport& report, QPrinter& printer, Prompt& prompt,
                  QWidget* parent = nullptr);

    ReportPageView& pages() { return *pages_; }

private:
    QAction* addCommand(const QString& name, const QString& text, const QList<QKeySequence>& keys);
    void addCommands();
    void showPageNumber(int page);
    void zoomBy(double factor);
    void print();
    void saveAsPdf();

    const BandedReport& report_;
    QPrinter& printer_;
    Prompt& prompt_;
    ReportPageView* pages_;
    QLabel* pageNumber_;
};

// The modal print preview of a laid-out report, from which the user prints
// it or saves it as a PDF file. Returns when the preview is closed.
void ShowReportPreview(QWidget* parent, const BandedReport& report, Prompt& prompt);

// The preview over a printer set up for the report, not yet shown.
std::unique_ptr<ReportPreview> MakeReportPreview(QWidget* parent, const BandedReport& report,
                                                 QPrinter& printer, Prompt& prompt);

// Writes the report as a PDF file, one page at a time. The file appears only
// when complete: an earlier file of that name stays as it was when writing
// fails.
void SaveReportPdf(const BandedReport& report, const std::string& fileName);

// A white page of the report's paper, widthPx pixels wide, whose resolution
// makes the report's millimetres land on it: paint a page onto it.
QImage PageImage(const BandedReport& report, int widthPx);

} // namespace brimlo
