#pragma once

#include "load/CheckScaleComparison.h"

#include <string>

namespace brimlo::cli {

// The comparison's figures as one JSON document (UTF-8): the files, the
// tolerances, each group and the load with their volumes in cubic metres,
// differences, percentages and verdicts, the logs that differ and the logs
// only one scaling holds, with volumes in litres.
std::string CheckScaleJson(const CheckScaleComparison& comparison);

} // namespace brimlo::cli
