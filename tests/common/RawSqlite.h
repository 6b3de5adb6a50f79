#pragma once

#include "support/FieldDef.h"

#include <string>
#include <vector>

namespace brimlo::testing {

// Reaches a private table's file with SQLite alone, as an office's own tool
// would, independently of the program's table store.

// Runs a query and gives every row's columns as text; null reads "NULL".
std::vector<std::vector<std::string>> QueryRows(const std::string& path, const std::string& sql);

// Writes a table in the form version 1.1 kept: a field list ("layout") and
// the records in numbered columns c0, c1, ... ("records"), texts as blobs,
// dates as day numbers. inserts fill the records table. With inLog the
// records are left in the write-ahead log beside the file, as a program
// killed before folding them into it leaves them.
void WriteVersion11Table(const std::string& path, const FieldList& fields,
                         const std::vector<std::string>& inserts, bool inLog = false);

} // namespace brimlo::testing
