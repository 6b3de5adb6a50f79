#include "load/WorkspaceCounter.h"

#include "support/WorkspaceFiles.h"

namespace brimlo {

int32_t WorkspaceCounter::takeFreeNumber(const std::string& directory) {
    value_ = NextFreeWorkspaceNumber(directory, value_);
    return value_;
}

void WorkspaceCounter::raiseTo(int32_t n) {
    if (value_ < n)
        value_ = n;
}

} // namespace brimlo
