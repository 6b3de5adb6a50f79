#pragma once

#include "rules/LogMeasures.h"

#include <string>

namespace brimlo {

// The header values the product rules read.
struct ProductSettings {
    int32_t htopd = 0;       // undersize threshold, cm
    std::string hprodcode;   // restored when a log stops being undersize
    std::string sawlogs;     // "Y" or "N"
    std::string volCalcMeth; // "S" or "A"
};

// Small stem under the Alberta rule, by the top diameter's length limit.
bool IsSmallStemAlberta(int32_t topd, int32_t length);

// Small stem under Smalian's formula: at most 24 litres per metre of
// length. A log of length 0 is not small.
bool IsSmallStemSmalian(int32_t grossvol, int32_t length);

// The product code the sawlog rule gives the log (its own code when the
// rule leaves it alone).
std::string ApplySawlogProductRule(const LogMeasures& log, const ProductSettings& header);

// The product code the undersize rule gives the log; a log that stops
// being undersize gets the header product, re-derived by the sawlog rule.
std::string ApplyUndersizeRule(const LogMeasures& log, const ProductSettings& header);

} // namespace brimlo
