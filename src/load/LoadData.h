#pragma once

#include "load/HeaderRecord.h"
#include "load/LogRecord.h"

#include <vector>

namespace brimlo {

// A whole load as plain values: what a load file carries and what the
// workspace copies in and out.
struct LoadData {
    HeaderRecord header;
    // A file whose last line is long but no header line leaves the load
    // without a header record.
    bool hasHeader = true;
    std::vector<LogRecord> logs; // in LOGNUM order
    // The load window's trim allowance mode ("Trim Allowance" box).
    bool trimAllowance = false;

    bool operator==(const LoadData&) const = default;
};

} // namespace brimlo
