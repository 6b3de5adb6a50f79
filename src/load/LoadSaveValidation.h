#pragma once

#include "load/LoadData.h"
#include "load/SpCdPrTally.h"

#include <string>

namespace brimlo {

// The header control a refused save puts the focus on.
enum class SaveCheckField {
    None,
    Disposition,  // edtDisp
    Source,       // edtSource
    HeaderTopD,   // edtHTopD
    DateWeighed,  // edtDate
    VolumeMethod, // cbVolumeCalc
    ScalerName,   // edtScalerName
    ScalerPermit, // edtScalerPermit
    FieldWidth,   // a value too wide for the load file; no control
    Combinations, // the over-twelve question answered No; no control
};

// The checks before a load is saved, each showing its own message; then
// that every value fits its width in the load file; then the over-twelve
// question, all on the prompt. volumeMethodText is what the window's method
// selector shows. On refusal failedField says which check stopped it.
bool ValidateLoadForSave(const LoadData& load, const SpCdPrTally& tally,
                         const std::string& volumeMethodText, Prompt& prompt,
                         SaveCheckField* failedField = nullptr);

} // namespace brimlo
