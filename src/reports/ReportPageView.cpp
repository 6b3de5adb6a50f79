#include "reports/ReportPageView.h"

#include "reports/BandedReport.h"
#include "reports/ReportPreview.h"

#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace brimlo {

namespace {

constexpr double kMinZoom = 0.5;
constexpr double kMaxZoom = 12.0;

} // namespace

ReportPageView::ReportPageView(const BandedReport& report, QWidget* parent)
    : QAbstractScrollArea(parent), report_(report) {
    setObjectName(QStringLiteral("pageView"));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(20);
}

double ReportPageView::fitWidthZoom() const {
    const int room = viewport()->width() - 2 * kGap;
    return std::clamp(room / report_.pageWidth(), kMinZoom, kMaxZoom);
}

void ReportPageView::setZoom(double pixelsPerMm) {
    fitting_ = false;
    const int page = currentPage();
    zoom_ = std::clamp(pixelsPerMm, kMinZoom, kMaxZoom);
    kept_.clear();
    updateScrollBars();
    showPage(page);
    viewport()->update();
}

void ReportPageView::fitWidth() {
    setZoom(fitWidthZoom());
    fitting_ = true;
}

int ReportPageView::pageWidthPx() const {
    return static_cast<int>(std::lround(report_.pageWidth() * zoom_));
}

int ReportPageView::pageHeightPx() const {
    return static_cast<int>(std::lround(report_.pageHeight() * zoom_));
}

int ReportPageView::currentPage() const {
    if (report_.pageCount() == 0)
        return 0;
    // The page holding the line a third down the view.
    const int y = verticalScrollBar()->value() + viewport()->height() / 3;
    return std::clamp(y / (pageHeightPx() + kGap), 0, report_.pageCount() - 1);
}

void ReportPageView::showPage(int page) {
    page = std::clamp(page, 0, std::max(0, report_.pageCount() - 1));
    verticalScrollBar()->setValue(pageTop(page) - kGap);
}

void ReportPageView::updateScrollBars() {
    const int pages = report_.pageCount();
    const int height = pages * (pageHeightPx() + kGap) + kGap;
    const int width = pageWidthPx() + 2 * kGap;
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
}

const QImage& ReportPageView::pageImage(int page) {
    auto kept = std::find_if(kept_.begin(), kept_.end(),
                             [page](const auto& entry) { return entry.first == page; });
    if (kept != kept_.end()) {
        kept_.splice(kept_.begin(), kept_, kept);
        return kept_.front().second;
    }
    QImage image = PageImage(report_, pageWidthPx());
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        report_.paintPage(painter, page);
    }
    ++painted_;
    kept_.emplace_front(page, std::move(image));
    if (kept_.size() > kKeptPages)
        kept_.pop_back();
    return kept_.front().second;
}

void ReportPageView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const int top = verticalScrollBar()->value();
    const int left = kGap - horizontalScrollBar()->value() +
                     std::max(0, (viewport()->width() - pageWidthPx() - 2 * kGap) / 2);
    const int step = pageHeightPx() + kGap;
    for (int page = std::max(0, (top - kGap) / step); page < report_.pageCount(); ++page) {
        const int y = pageTop(page) - top;
        if (y >= viewport()->height())
            break;
        painter.drawImage(left, y, pageImage(page));
    }
}

void ReportPageView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (fitting_ && std::abs(fitWidthZoom() - zoom_) > 1e-9) {
        const int page = currentPage();
        zoom_ = fitWidthZoom();
        kept_.clear();
        updateScrollBars();
        showPage(page);
    } else {
        updateScrollBars();
    }
}

void ReportPageView::scrollContentsBy(int, int) {
    viewport()->update();
    const int page = currentPage();
    if (page != lastCurrent_) {
        lastCurrent_ = page;
        emit currentPageChanged(page);
    }
}

} // namespace brimlo
