#pragma once

#include "load/HeaderRecord.h"
#include "load/LogRecord.h"
#include "rules/LogMeasures.h"
#include "support/Dataset.h"

#include <vector>

namespace brimlo {

// Copies between the workspace tables and the plain load records.

// The header as the table shows it now (an unposted edit included).
HeaderRecord HeaderOf(const Dataset& header);
LogRecord LogOf(const Dataset& log);
LogRecord LogOf(const FieldList& fields, const Record& values);

// Assigns every field of the record (in edit or insert state); each
// assignment runs its field's reaction.
void AssignHeader(Dataset& header, const HeaderRecord& record);
// LOGNUM is left as the new-log reaction numbered it.
void AssignLog(Dataset& log, const LogRecord& record);

// Every log in LOGNUM order as it will be saved: the posted records, with
// the current log's unposted edit in its place. Nothing moves, so no
// reaction runs.
std::vector<LogRecord> LogsOf(Dataset& log);

// The values of the current log the scaling rules read.
LogMeasures MeasuresOf(const Dataset& log);

// The first character of a code, or a blank when it is empty.
char FirstOrBlank(const std::string& text);

} // namespace brimlo
