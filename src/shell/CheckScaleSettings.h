#pragma once

#include "load/CheckScaleTolerances.h"

class QSettings;

namespace brimlo {

// The check scale tolerances live in the user's settings, not in the
// program's tables: they are the user's agreement, the same for every load.
// A setting never written reads as the default.
CheckScaleTolerances ReadCheckScaleTolerances(QSettings& settings);
void WriteCheckScaleTolerances(QSettings& settings, const CheckScaleTolerances& tolerances);

} // namespace brimlo
