#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace brimlo {

// The hourglass while a report is laid out; restored however the
// preparation ends.
class BusyCursorScope {
public:
    BusyCursorScope() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursorScope() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursorScope(const BusyCursorScope&) = delete;
    BusyCursorScope& operator=(const BusyCursorScope&) = delete;
};

} // namespace brimlo
