#pragma once

#include "support/Value.h"

#include <functional>
#include <string>

namespace brimlo::cli {

// A master record as other programs read it, from its fields by position
// (the current record of the master table, without copying it).
using MasterFieldAt = std::function<const Value&(int index)>;

// The 105 field names of master.db in table order, CSV, with its line end.
std::string MasterCsvHeader();
// One record as a CSV row (RFC 4180, UTF-8, CRLF), fields as the header names them.
std::string MasterCsvRow(const MasterFieldAt& record);
// One record as a JSON object on one line: the header fields by name, each
// group field (SPCDPR, LOGNUMS, LENGTH, GROSSVOL, CULLVOL, NETVOL, CULLPER)
// as an array over the groups in use, then NUM_GROUPS and TOTALLOGS.
std::string MasterJsonLine(const MasterFieldAt& record);

} // namespace brimlo::cli
