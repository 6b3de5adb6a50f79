#include "shell/CompactComboStyle.h"

#include <QApplication>
#include <QStyleOptionComplex>

namespace brimlo {

// A style of its own over the desktop's, so the proxy never owns (and
// deletes) the application's style.
CompactComboStyle::CompactComboStyle() : QProxyStyle(QApplication::style()->name()) {}

QRect CompactComboStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                        SubControl part, const QWidget* widget) const {
    if (control != CC_ComboBox)
        return QProxyStyle::subControlRect(control, option, part, widget);
    const QRect frame = option->rect;
    switch (part) {
    case SC_ComboBoxArrow:
        return {frame.right() - kArrowWidth, frame.top() + 1, kArrowWidth, frame.height() - 2};
    case SC_ComboBoxEditField:
        return {frame.left() + 3, frame.top() + 1, frame.width() - kArrowWidth - 4,
                frame.height() - 2};
    default:
        return QProxyStyle::subControlRect(control, option, part, widget);
    }
}

} // namespace brimlo
