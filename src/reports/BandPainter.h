#pragma once

#include "reports/ReportBand.h"

#include <QFont>
#include <QFontMetricsF>
#include <map>

class QPainter;

namespace brimlo {

// Draws bands on a painter whose unit is the device pixel, converting
// millimetres at the device's resolution. Fonts and their metrics are made
// once per painter, since a long report draws the same few thousands of
// times.
class BandPainter {
public:
    explicit BandPainter(QPainter& painter);

    void paint(const ReportBand& band, double left, double top, double width);

private:
    struct FontEntry {
        QFont font;
        QFontMetricsF metrics;
    };

    // The font made current on the painter, with its metrics.
    const FontEntry& useFont(ReportFont font);
    static QString fitted(const QString& text, double width, const QFontMetricsF& metrics);
    void paintText(const ReportElement& element, double left, double top);
    void paintWrapped(const ReportElement& element, double left, double top);
    void paintEdges(const ReportBand& band, double left, double top, double width);
    void line(double x1, double y1, double x2, double y2);
    double px(double mm) const { return mm * pixelsPerMm_; }

    QPainter& painter_;
    double pixelsPerMm_;
    std::map<int, FontEntry> fonts_;
    int currentFont_ = -1; // the key of the font the painter holds
};

} // namespace brimlo
