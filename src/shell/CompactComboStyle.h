#pragma once

#include <QProxyStyle>

namespace brimlo {

// The narrow selectors of a log row hold two-character codes in 40 pixels:
// a slim drop-down arrow and a tight frame leave the code its room, whatever
// the desktop style would give them.
class CompactComboStyle : public QProxyStyle {
public:
    CompactComboStyle();

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override;

    static constexpr int kArrowWidth = 11;
};

} // namespace brimlo
