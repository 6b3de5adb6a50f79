#include "reports/BandedReport.h"

#include "reports/BandPainter.h"
#include "support/BrimloError.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

namespace brimlo {

namespace {

constexpr double kLetterShortSide = 215.9;
constexpr double kLetterLongSide = 279.4;
constexpr double kPortraitBandWidth = 195.8;
constexpr double kLandscapeBandWidth = 259.3;
// Rounding of band heights must not push a band that fits onto a new page.
constexpr double kFitTolerance = 0.001;

} // namespace

BandedReport::BandedReport(QString title, PageOrientation orientation)
    : title_(std::move(title)), orientation_(orientation) {}

double BandedReport::pageWidth() const {
    return orientation_ == PageOrientation::Portrait ? kLetterShortSide : kLetterLongSide;
}

double BandedReport::pageHeight() const {
    return orientation_ == PageOrientation::Portrait ? kLetterLongSide : kLetterShortSide;
}

double BandedReport::bandWidth() const {
    return orientation_ == PageOrientation::Portrait ? kPortraitBandWidth : kLandscapeBandWidth;
}

void BandedReport::setDetails(int count, DetailHeight height, DetailBand band) {
    detailCount_ = count;
    detailHeight_ = std::move(height);
    detailBand_ = std::move(band);
}

void BandedReport::setPageFooter(double height, FooterBand band) {
    footerHeight_ = height;
    footerBand_ = std::move(band);
}

// Fills pages top down; a band goes to a new page when it would run into
// the footer, unless it is the first thing on its page (an oversize band
// then prints as far as the paper goes rather than never).
class BandedReport::Paginator {
public:
    explicit Paginator(const BandedReport& report) : report_(report) { startPage(true); }

    void addDetail(int index) {
        makeRoom(report_.detailHeight_(index));
        Page& page = pages_.back();
        if (page.detailCount == 0)
            page.firstDetail = index;
        ++page.detailCount;
        y_ += report_.detailHeight_(index);
        empty_ = false;
    }

    void addSummary() {
        makeRoom(report_.summaryBand_.height());
        pages_.back().summary = true;
    }

    std::vector<Page> take() { return std::move(pages_); }

private:
    void startPage(bool first) {
        pages_.push_back(Page{});
        y_ = kMargin;
        if (first && report_.titleBand_.height() > 0.0) {
            pages_.back().title = true;
            y_ += report_.titleBand_.height();
        }
        if (!first && report_.pageHeader_.height() > 0.0) {
            pages_.back().pageHeader = true;
            y_ += report_.pageHeader_.height();
        }
        empty_ = true;
    }

    void makeRoom(double height) {
        if (!empty_ && y_ + height > report_.bodyBottom() + kFitTolerance)
            startPage(false);
    }

    const BandedReport& report_;
    std::vector<Page> pages_;
    double y_ = 0.0;
    bool empty_ = true;
};

void BandedReport::layout() {
    Paginator paginator(*this);
    for (int i = 0; i < detailCount_; ++i)
        paginator.addDetail(i);
    if (summaryBand_.height() > 0.0)
        paginator.addSummary();
    pages_ = paginator.take();
}

std::vector<BandedReport::Placement> BandedReport::placementsOf(int pageIndex) const {
    std::vector<Placement> placements;
    const Page& page = pages_.at(static_cast<std::size_t>(pageIndex));
    double y = kMargin;
    if (page.title) {
        placements.push_back({BandKind::Title, 0, y});
        y += titleBand_.height();
    }
    if (page.pageHeader) {
        placements.push_back({BandKind::PageHeader, 0, y});
        y += pageHeader_.height();
    }
    for (int i = page.firstDetail; i < page.firstDetail + page.detailCount; ++i) {
        placements.push_back({BandKind::Detail, i, y});
        y += detailHeight_(i);
    }
    if (page.summary)
        placements.push_back({BandKind::Summary, 0, y});
    if (footerBand_)
        placements.push_back({BandKind::Footer, pageIndex + 1, bodyBottom()});
    return placements;
}

ReportBand BandedReport::bandOf(const Placement& placement) const {
    switch (placement.kind) {
    case BandKind::Title:
        return titleBand_;
    case BandKind::PageHeader:
        return pageHeader_;
    case BandKind::Detail:
        return detailBand_(placement.index);
    case BandKind::Summary:
        return summaryBand_;
    case BandKind::Footer:
        return footerBand_(placement.index);
    }
    return {};
}

void BandedReport::paintPage(QPainter& painter, int page) const {
    BandPainter bands(painter);
    for (const Placement& placement : placementsOf(page))
        bands.paint(bandOf(placement), kMargin, placement.top, bandWidth());
}

void BandedReport::setUpPrinter(QPrinter& printer) const {
    const QPageLayout::Orientation orientation =
        orientation_ == PageOrientation::Portrait ? QPageLayout::Portrait : QPageLayout::Landscape;
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), orientation,
                                      QMarginsF(kMargin, kMargin, kMargin, kMargin),
                                      QPageLayout::Millimeter));
    // The bands are placed from the paper's edge, margins included.
    printer.setFullPage(true);
    printer.setDocName(title_);
    printer.setCreator(QStringLiteral("BRIMLO"));
}

void BandedReport::print(QPrinter& printer) const {
    QPainter painter;
    if (!painter.begin(&printer))
        throw BrimloError("Unable to print the report \"" + title_.toStdString() + "\"");
    for (int page = 0; page < pageCount(); ++page) {
        if (page > 0)
            printer.newPage();
        paintPage(painter, page);
    }
    painter.end();
}

} // namespace brimlo
