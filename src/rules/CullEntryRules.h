#pragma once

#include <string>

namespace brimlo {

// The refusal for a cull measurement (1, 2 or 3 for C1..C3) keyed as value
// on a log with this cull method (blank when none) under this volume method
// letter: one of the "Cull Error: ..." texts, or empty when it is accepted.
// A refused value goes back to 0 and its cull volume is not recomputed.
std::string CullMeasureRefusal(char cullMethod, int measurement, int value, char volumeMethod);

// How many further Tab steps leaving a measurement edit makes, skipping the
// measurements its method does not take.
int CullTabSkipsAfter(char cullMethod, int measurement, char volumeMethod);

} // namespace brimlo
