#pragma once

#include "master/CMaster.h"

#include <string>

namespace brimlo::bench {

// Master record n of a mill's years: mill "AB", load number n + 1, one to
// twelve groups (6.5 on average), the figures of real loads.
CMaster ScaleMasterRecord(int n);

// A master.db at path holding records 0 .. records-1 of those.
void WriteScaleMaster(const std::string& path, int records);

} // namespace brimlo::bench
