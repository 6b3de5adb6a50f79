#pragma once

#include "load/HeaderRecord.h"
#include "load/LogRecord.h"

#include <vector>

namespace brimlo {

class CMaster;
class MasterTable;

// Posts a load to the master table: the master record is built from the
// load's header and logs and replaces the record with its key, or is added.
// The table then returns to the record that was current before (it stays on
// the posted one when the table was empty). Errors (an empty SAWLOGS, a
// table that cannot be written) are thrown for the application's error box.
void PostLoadToMaster(CMaster& master, MasterTable& table, const HeaderRecord& header,
                      const std::vector<LogRecord>& logs);

} // namespace brimlo
