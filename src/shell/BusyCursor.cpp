#include "shell/BusyCursor.h"

#include <QApplication>
#include <QCursor>

namespace brimlo {

BusyCursor::BusyCursor() {
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyCursor::~BusyCursor() {
    QApplication::restoreOverrideCursor();
}

} // namespace brimlo
