#pragma once

#include "support/Value.h"

#include <string>

namespace brimlo::bench {

// A master record with every field filled, different for each n (its load
// number is n), so no record of a benchmark table repeats another.
Record FilledMasterRecord(int n);

// A master.db at path holding records 0 .. records-1 of those.
void WriteFilledMaster(const std::string& path, int records);

} // namespace brimlo::bench
