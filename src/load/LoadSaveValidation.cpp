#include "load/LoadSaveValidation.h"

#include "load/LoadFileWriter.h"
#include "rules/HeaderChecks.h"

namespace brimlo {

namespace {

// The header checks in the order the user meets them; the first failure
// has shown its message.
SaveCheckField FirstFailingHeaderCheck(const HeaderRecord& h, const std::string& volumeMethodText) {
    if (!CheckDisposition(h.DISP, h.SOURCE))
        return SaveCheckField::Disposition;
    if (!CheckSource(h.DISP, h.SOURCE))
        return SaveCheckField::Source;
    if (!CheckHeaderTopDiameter(h.HTOPD))
        return SaveCheckField::HeaderTopD;
    if (!CheckDateWeighed(h.DATEWEIGHED))
        return SaveCheckField::DateWeighed;
    if (!CheckVolumeMethod(volumeMethodText))
        return SaveCheckField::VolumeMethod;
    if (!CheckScalerName(h.SCALER_NAME))
        return SaveCheckField::ScalerName;
    if (!CheckScalerPermit(h.SCALER_PERMIT))
        return SaveCheckField::ScalerPermit;
    return SaveCheckField::None;
}

} // namespace

bool ValidateLoadForSave(const LoadData& load, const SpCdPrTally& tally,
                         const std::string& volumeMethodText, SaveCheckField* failedField) {
    SaveCheckField failed = FirstFailingHeaderCheck(load.header, volumeMethodText);
    if (failed == SaveCheckField::None && !CheckLoadFileWidths(load))
        failed = SaveCheckField::FieldWidth;
    if (failed == SaveCheckField::None && !tally.AskSaveIfOverTwelve())
        failed = SaveCheckField::Combinations;
    if (failedField != nullptr)
        *failedField = failed;
    return failed == SaveCheckField::None;
}

} // namespace brimlo
