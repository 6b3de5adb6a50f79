#pragma once

#include "load/LogRecord.h"

#include <algorithm>
#include <vector>

namespace brimlo {

// The logs as the log table's primary index walks them: by LOGNUM.
inline std::vector<const LogRecord*> InLogNumberOrder(const std::vector<LogRecord>& logs) {
    std::vector<const LogRecord*> ordered;
    ordered.reserve(logs.size());
    for (const LogRecord& log : logs)
        ordered.push_back(&log);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const LogRecord* a, const LogRecord* b) { return a->LOGNUM < b->LOGNUM; });
    return ordered;
}

} // namespace brimlo
