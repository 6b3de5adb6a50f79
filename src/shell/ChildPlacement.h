#pragma once

class QWidget;

namespace brimlo {

// Places a child window's frame at the top left corner of the main
// window's client area with the outer size given (the content itself when
// it stands alone).
void PlaceChildWindow(QWidget* content, int width, int height);

} // namespace brimlo
