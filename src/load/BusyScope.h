#pragma once

#include "load/LoadView.h"

namespace brimlo {

// The busy cursor of a load window for the length of one operation.
class BusyScope {
public:
    explicit BusyScope(LoadView& view) : view_(view) { view_.setBusy(true); }
    ~BusyScope() { view_.setBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    LoadView& view_;
};

} // namespace brimlo
