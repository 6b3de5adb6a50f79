#include "reports/ReportBand.h"

namespace brimlo {

ReportBand& ReportBand::text(double x, double y, const QString& text, ReportFont font) {
    // An empty field prints as nothing; leaving it out keeps pages light.
    if (!text.isEmpty())
        elements_.push_back({ReportElement::Kind::Text, x, y, 0.0, text, TextAlign::Left, font});
    return *this;
}

ReportBand& ReportBand::boxedText(double x, double y, double width, const QString& text,
                                  ReportFont font) {
    if (!text.isEmpty())
        elements_.push_back({ReportElement::Kind::Text, x, y, width, text, TextAlign::Left, font});
    return *this;
}

ReportBand& ReportBand::rightText(double right, double y, const QString& text, ReportFont font) {
    if (!text.isEmpty())
        elements_.push_back(
            {ReportElement::Kind::Text, right, y, 0.0, text, TextAlign::Right, font});
    return *this;
}

ReportBand& ReportBand::wrappedText(double x, double y, double width, const QString& text,
                                    ReportFont font) {
    if (!text.isEmpty())
        elements_.push_back(
            {ReportElement::Kind::WrappedText, x, y, width, text, TextAlign::Left, font});
    return *this;
}

ReportBand& ReportBand::hRule(double x1, double x2, double y) {
    elements_.push_back({ReportElement::Kind::HRule, x1, y, x2, {}, TextAlign::Left, {}});
    return *this;
}

ReportBand& ReportBand::vRule(double x, double y1, double y2) {
    elements_.push_back({ReportElement::Kind::VRule, x, y1, y2, {}, TextAlign::Left, {}});
    return *this;
}

} // namespace brimlo
