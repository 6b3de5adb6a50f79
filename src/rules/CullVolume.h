#pragma once

#include "rules/LogMeasures.h"

#include <cstdint>

namespace brimlo {

// The cull formulas. volumeMethod is the first character of the load's
// VOL_CALC_METH: 'S' reuses Smalian's formula, anything else the Alberta
// rule. Each returns the raw deduction in litres; the gates and the
// two-thirds cap are applied by CalcCullVolume.
int32_t CullDiameterReduction(const LogMeasures& log, char volumeMethod);
int32_t CullLengthReduction(const LogMeasures& log, char volumeMethod);
int32_t CullPercent(const LogMeasures& log);
int32_t CullFraction(const LogMeasures& log);
int32_t CullBlockOut(const LogMeasures& log);
int32_t CullInteriorLog(const LogMeasures& log, char volumeMethod);
int32_t CullCube(const LogMeasures& log);
int32_t CullEndRot(const LogMeasures& log, char volumeMethod);

// True when the log's measurements are there for its method's formula.
bool CullGateMet(const LogMeasures& log);

// The log's cull volume in litres: its method's formula when the gate is
// met, capped by the two-thirds rule; 0 for a blank or unknown method.
int32_t CalcCullVolume(const LogMeasures& log, char volumeMethod);

} // namespace brimlo
