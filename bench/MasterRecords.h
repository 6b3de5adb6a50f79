#pragma once

#include "support/Value.h"

namespace brimlo::bench {

// A master record with every field filled, different for each n (its load
// number is n), so no record of a benchmark table repeats another.
Record FilledMasterRecord(int n);

} // namespace brimlo::bench
