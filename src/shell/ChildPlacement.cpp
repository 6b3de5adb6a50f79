#include "shell/ChildPlacement.h"

#include <QMdiSubWindow>
#include <QVariant>

namespace brimlo {

namespace {

constexpr const char* kNormalSize = "brimloNormalSize";

} // namespace

void PlaceChildWindow(QWidget* content, int width, int height) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(content->parentWidget())) {
        frame->setProperty(kNormalSize, QSize(width, height));
        frame->move(0, 0);
        frame->resize(width, height);
        return;
    }
    content->resize(width, height);
}

QSize NormalChildSize(const QMdiSubWindow* frame) {
    return frame->property(kNormalSize).toSize();
}

} // namespace brimlo
