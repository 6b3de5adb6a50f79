#include "shell/ChildPlacement.h"

#include <QMdiSubWindow>

namespace brimlo {

void PlaceChildWindow(QWidget* content, int width, int height) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(content->parentWidget())) {
        frame->move(0, 0);
        frame->resize(width, height);
        return;
    }
    content->resize(width, height);
}

} // namespace brimlo
