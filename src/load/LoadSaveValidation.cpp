#include "load/LoadSaveValidation.h"

#include "load/LoadFileWriter.h"
#include "rules/HeaderChecks.h"

namespace brimlo {

namespace {

// The header checks in the order the user meets them; the first failure
// has shown its message.
SaveCheckField FirstFailingHeaderCheck(const HeaderRecord& h, const std::string& volumeMethodText,
                                       Prompt& prompt) {
    if (!CheckDisposition(h.DISP, h.SOURCE, prompt))
        return SaveCheckField::Disposition;
    if (!CheckSource(h.DISP, h.SOURCE, prompt))
        return SaveCheckField::Source;
    if (!CheckHeaderTopDiameter(h.HTOPD, prompt))
        return SaveCheckField::HeaderTopD;
    if (!CheckDateWeighed(h.DATEWEIGHED, prompt))
        return SaveCheckField::DateWeighed;
    if (!CheckVolumeMethod(volumeMethodText, prompt))
        return SaveCheckField::VolumeMethod;
    if (!CheckScalerName(h.SCALER_NAME, prompt))
        return SaveCheckField::ScalerName;
    if (!CheckScalerPermit(h.SCALER_PERMIT, prompt))
        return SaveCheckField::ScalerPermit;
    return SaveCheckField::None;
}

} // namespace

bool ValidateLoadForSave(const LoadData& load, const SpCdPrTally& tally,
                         const std::string& volumeMethodText, Prompt& prompt,
                         SaveCheckField* failedField) {
    SaveCheckField failed = FirstFailingHeaderCheck(load.header, volumeMethodText, prompt);
    if (failed == SaveCheckField::None && !CheckLoadFileWidths(load, prompt))
        failed = SaveCheckField::FieldWidth;
    if (failed == SaveCheckField::None && !tally.AskSaveIfOverTwelve(prompt))
        failed = SaveCheckField::Combinations;
    if (failedField != nullptr)
        *failedField = failed;
    return failed == SaveCheckField::None;
}

} // namespace brimlo
