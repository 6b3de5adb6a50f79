#pragma once

#include "load/LogRecord.h"
#include "rules/LogMeasures.h"

#include <vector>

namespace brimlo {

// The values of a log the scaling rules read.
LogMeasures MeasuresOf(const LogRecord& log);

// Every log's gross volume by Smalian's formula, and its cull volume again
// when it has one, as a load converted to that method needs.
void RecalcLoadSmalian(std::vector<LogRecord>& logs);

} // namespace brimlo
