#include "reports/BandPainter.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QStringList>
#include <cmath>

namespace brimlo {

namespace {

constexpr double kMmPerInch = 25.4;
// A rule is as thin as a print head draws well and a screen still shows.
constexpr double kRuleWidthMm = 0.2;

int FontKey(ReportFont font) {
    return static_cast<int>(std::lround(font.points * 10.0)) * 2 + (font.bold ? 1 : 0);
}

QFont MakeFont(ReportFont font, QPaintDevice* device) {
    QFont made;
    // Arial where the machine has it, otherwise its metric twin.
    made.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    made.setPointSizeF(font.points);
    made.setBold(font.bold);
    made.setKerning(false);
    made.setHintingPreference(QFont::PreferNoHinting);
    return QFont(made, device);
}

} // namespace

BandPainter::BandPainter(QPainter& painter)
    : painter_(painter), pixelsPerMm_(painter.device()->logicalDpiX() / kMmPerInch) {
    QPen pen(Qt::black);
    pen.setWidthF(px(kRuleWidthMm));
    pen.setCapStyle(Qt::SquareCap);
    painter_.setPen(pen);
}

const BandPainter::FontEntry& BandPainter::useFont(ReportFont font) {
    const int key = FontKey(font);
    auto found = fonts_.find(key);
    if (found == fonts_.end()) {
        QFont made = MakeFont(font, painter_.device());
        found = fonts_.emplace(key, FontEntry{made, QFontMetricsF(made, painter_.device())}).first;
    }
    if (key != currentFont_) {
        painter_.setFont(found->second.font);
        currentFont_ = key;
    }
    return found->second;
}

void BandPainter::paint(const ReportBand& band, double left, double top, double width) {
    for (const ReportElement& element : band.elements()) {
        switch (element.kind) {
        case ReportElement::Kind::Text:
            paintText(element, left, top);
            break;
        case ReportElement::Kind::WrappedText:
            paintWrapped(element, left, top);
            break;
        case ReportElement::Kind::HRule:
            line(left + element.x, top + element.y, left + element.extent, top + element.y);
            break;
        case ReportElement::Kind::VRule:
            line(left + element.x, top + element.y, left + element.x, top + element.extent);
            break;
        }
    }
    paintEdges(band, left, top, width);
}

// The longest beginning of the text that stays within the width. Whole
// characters are dropped rather than clipped by the painter, so that no
// part of a cut one reaches the next column, on paper or in the file's text.
QString BandPainter::fitted(const QString& text, double width, const QFontMetricsF& metrics) {
    if (width <= 0.0 || metrics.horizontalAdvance(text) <= width)
        return text;
    qsizetype keep = text.size();
    while (keep > 0 && metrics.horizontalAdvance(text.left(keep)) > width)
        --keep;
    return text.left(keep);
}

// The text's box starts at its place; the baseline stands one ascent lower.
void BandPainter::paintText(const ReportElement& element, double left, double top) {
    const FontEntry& entry = useFont(element.font);
    const QString text = fitted(element.text, px(element.extent), entry.metrics);
    double x = px(left + element.x);
    if (element.align == TextAlign::Right)
        x -= entry.metrics.horizontalAdvance(text);
    painter_.drawText(QPointF(x, px(top + element.y) + entry.metrics.ascent()), text);
}

void BandPainter::paintWrapped(const ReportElement& element, double left, double top) {
    const FontEntry& entry = useFont(element.font);
    const double width = px(element.extent);
    double baseline = px(top + element.y) + entry.metrics.ascent();
    QString line;
    auto flush = [&] {
        painter_.drawText(QPointF(px(left + element.x), baseline), line);
        baseline += entry.metrics.height();
        line.clear();
    };
    for (const QString& word : element.text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString joined = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && entry.metrics.horizontalAdvance(joined) > width)
            flush();
        line = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
    }
    if (!line.isEmpty())
        flush();
}

void BandPainter::paintEdges(const ReportBand& band, double left, double top, double width) {
    const unsigned edges = band.edges();
    const double right = left + width;
    const double bottom = top + band.height();
    if (edges & kEdgeTop)
        line(left, top, right, top);
    if (edges & kEdgeBottom)
        line(left, bottom, right, bottom);
    if (edges & kEdgeLeft)
        line(left, top, left, bottom);
    if (edges & kEdgeRight)
        line(right, top, right, bottom);
}

void BandPainter::line(double x1, double y1, double x2, double y2) {
    painter_.drawLine(QPointF(px(x1), px(y1)), QPointF(px(x2), px(y2)));
}

} // namespace brimlo
