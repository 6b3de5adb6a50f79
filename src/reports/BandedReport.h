#pragma once

#include "reports/ReportBand.h"

#include <QString>
#include <functional>
#include <vector>

class QPainter;
class QPrinter;

namespace brimlo {

enum class PageOrientation { Portrait, Landscape };

// A banded report on US Letter paper with 10 mm margins: a title band once
// at the top of page 1, a page header at the top of every later page, one
// detail band per record, a summary band once after the last record and a
// page footer at the bottom of every page. No band is split across pages: a
// band that does not fit on the rest of a page starts the next one.
//
// Detail bands are asked for by index when a page is painted, so a long
// report keeps only its page breaks in memory.
class BandedReport {
public:
    using DetailHeight = std::function<double(int index)>;
    using DetailBand = std::function<ReportBand(int index)>;
    using FooterBand = std::function<ReportBand(int pageNumber)>;

    static constexpr double kMargin = 10.0;

    BandedReport(QString title, PageOrientation orientation);

    const QString& title() const { return title_; }
    PageOrientation orientation() const { return orientation_; }
    double pageWidth() const;
    double pageHeight() const;
    // The width the bands were designed with, a hair inside the margins.
    double bandWidth() const;

    void setTitleBand(ReportBand band) { titleBand_ = std::move(band); }
    void setPageHeader(ReportBand band) { pageHeader_ = std::move(band); }
    void setSummaryBand(ReportBand band) { summaryBand_ = std::move(band); }
    void setDetails(int count, DetailHeight height, DetailBand band);
    void setPageFooter(double height, FooterBand band);

    // Breaks the report into pages; painting needs it done first.
    void layout();
    int pageCount() const { return static_cast<int>(pages_.size()); }

    enum class BandKind { Title, PageHeader, Detail, Summary, Footer };
    struct Placement {
        BandKind kind;
        int index; // the record of a detail band, the page number of a footer
        double top;
    };
    // Every band of a page with its top in millimetres from the paper's top.
    std::vector<Placement> placementsOf(int page) const;
    ReportBand bandOf(const Placement& placement) const;

    void paintPage(QPainter& painter, int page) const;
    // Paper, orientation, margins and job name for this report.
    void setUpPrinter(QPrinter& printer) const;
    // Every page onto a printer already set up.
    void print(QPrinter& printer) const;

private:
    struct Page {
        int firstDetail = 0;
        int detailCount = 0;
        bool title = false;
        bool pageHeader = false;
        bool summary = false;
    };
    class Paginator;

    double bodyBottom() const { return pageHeight() - kMargin - footerHeight_; }

    QString title_;
    PageOrientation orientation_;
    ReportBand titleBand_;
    ReportBand pageHeader_;
    ReportBand summaryBand_;
    int detailCount_ = 0;
    DetailHeight detailHeight_;
    DetailBand detailBand_;
    double footerHeight_ = 0.0;
    FooterBand footerBand_;
    std::vector<Page> pages_;
};

} // namespace brimlo
