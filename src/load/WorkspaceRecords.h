#pragma once

#include "load/FieldIndex.h"
#include "load/HeaderRecord.h"
#include "load/LoadWorkspace.h"
#include "load/LogRecord.h"
#include "support/Dataset.h"

#include <vector>

namespace brimlo {

// Copies between the workspace tables and the plain load records, one loop
// over each record type's descriptors.

// The header as the table shows it now (an unposted edit included).
HeaderRecord HeaderOf(const LoadWorkspace& workspace);
// The current log (an unposted edit included).
LogRecord LogOf(const LoadWorkspace& workspace);
// A log from a record of a table whose fields the index resolved.
LogRecord LogOf(const LogFieldIndex& index, const Record& values);

// Assigns every field of the record (in edit or insert state) in table
// order; each assignment runs its field's reaction. Header texts lose their
// trailing blanks.
void AssignHeader(LoadWorkspace& workspace, const HeaderRecord& record);
// LOGNUM is left as the new-log reaction numbered it.
void AssignLog(LoadWorkspace& workspace, const LogRecord& record);

// Every log in LOGNUM order as it will be saved: the posted records, with
// the current log's unposted edit in its place. Nothing moves, so no
// reaction runs.
std::vector<LogRecord> LogsOf(LoadWorkspace& workspace);

// The first character of a code, or a blank when it is empty.
char FirstOrBlank(const std::string& text);

} // namespace brimlo
