#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <list>
#include <utility>

namespace brimlo {

class BandedReport;

// The pages of a laid-out report one under the other, at a zoom given in
// screen pixels per millimetre of paper. Only the pages in view are painted,
// each when it first scrolls into view; the last few painted are kept so
// that scrolling back is free, so memory stays a few pages whatever the
// report's length.
class ReportPageView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit ReportPageView(const BandedReport& report, QWidget* parent = nullptr);

    double zoom() const { return zoom_; }
    // The zoom at which a page fills the view's width.
    double fitWidthZoom() const;
    void setZoom(double pixelsPerMm);
    // Follows the view's width from now on, until setZoom.
    void fitWidth();
    bool fittingWidth() const { return fitting_; }

    // The page (0-based) at the top of the view.
    int currentPage() const;
    void showPage(int page);
    // Pages painted so far; a page painted again after leaving the kept few
    // counts again.
    int paintedPages() const { return painted_; }

signals:
    void currentPageChanged(int page);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    static constexpr int kGap = 10;
    static constexpr size_t kKeptPages = 4;

    int pageWidthPx() const;
    int pageHeightPx() const;
    int pageTop(int page) const { return kGap + page * (pageHeightPx() + kGap); }
    void updateScrollBars();
    const QImage& pageImage(int page);

    const BandedReport& report_;
    double zoom_ = 3.0;
    bool fitting_ = true;
    int painted_ = 0;
    int lastCurrent_ = -1;
    std::list<std::pair<int, QImage>> kept_; // most recently used first
};

} // namespace brimlo
