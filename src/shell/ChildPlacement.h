#pragma once

#include <QSize>

class QMdiSubWindow;
class QWidget;

namespace brimlo {

// Places a child window's frame at the top left corner of the main
// window's client area with the outer size given (the content itself when
// it stands alone). The frame remembers that size as its normal size.
void PlaceChildWindow(QWidget* content, int width, int height);

// The outer size a child window was placed with; invalid for a frame that
// was never placed.
QSize NormalChildSize(const QMdiSubWindow* frame);

} // namespace brimlo
