#pragma once

#include <QString>
#include <vector>

namespace brimlo {

enum class TextAlign { Left, Right };

// Report text is Arial (or a metric twin of it) at a size in points.
struct ReportFont {
    double points = 10.0;
    bool bold = false;
};

inline constexpr ReportFont kPlainFont{10.0, false};
inline constexpr ReportFont kBoldFont{10.0, true};
inline constexpr ReportFont kTitleFont{12.0, true};

// One thing a band draws. Places are millimetres from the band's top left;
// for right-aligned text x is the right edge.
struct ReportElement {
    enum class Kind { Text, WrappedText, HRule, VRule };
    Kind kind = Kind::Text;
    double x = 0.0;
    double y = 0.0;
    // Text: the width of its box, 0 for none; a boxed text is cut at the
    // box's right edge. Wrapped text: the box width. Horizontal rule: its
    // right end. Vertical rule: its lower end.
    double extent = 0.0;
    QString text;
    TextAlign align = TextAlign::Left;
    ReportFont font;
};

// Which edges of a band carry a rule; they follow the band's height.
enum BandEdge : unsigned {
    kEdgeNone = 0,
    kEdgeTop = 1,
    kEdgeBottom = 2,
    kEdgeLeft = 4,
    kEdgeRight = 8
};
inline constexpr unsigned kEdgeSides = kEdgeLeft | kEdgeRight;
inline constexpr unsigned kEdgeAll = kEdgeTop | kEdgeBottom | kEdgeLeft | kEdgeRight;

// A horizontal strip of a report page, laid out in millimetres.
class ReportBand {
public:
    ReportBand() = default;
    explicit ReportBand(double height, unsigned edges = kEdgeNone)
        : height_(height), edges_(edges) {}

    double height() const { return height_; }
    void setHeight(double height) { height_ = height; }
    unsigned edges() const { return edges_; }
    void setEdges(unsigned edges) { edges_ = edges; }

    ReportBand& text(double x, double y, const QString& text, ReportFont font = kPlainFont);
    // Text in a box of the given width, as a fixed-width label prints it:
    // characters that would pass the box's right edge are left out.
    ReportBand& boxedText(double x, double y, double width, const QString& text,
                          ReportFont font = kPlainFont);
    ReportBand& rightText(double right, double y, const QString& text,
                          ReportFont font = kPlainFont);
    // Text broken at blanks into lines no wider than the box.
    ReportBand& wrappedText(double x, double y, double width, const QString& text, ReportFont font);
    ReportBand& hRule(double x1, double x2, double y);
    ReportBand& vRule(double x, double y1, double y2);

    const std::vector<ReportElement>& elements() const { return elements_; }

private:
    double height_ = 0.0;
    unsigned edges_ = kEdgeNone;
    std::vector<ReportElement> elements_;
};

} // namespace brimlo
