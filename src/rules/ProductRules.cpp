#include "rules/ProductRules.h"

#include "rules/GrossVolume.h"
#include "support/DovraneGeneric.h"

namespace brimlo {

namespace {

constexpr const char* kSawlogs = "01";
constexpr const char* kSmallStem = "06";
constexpr const char* kUndersize = "99";

} // namespace

bool IsSmallStemAlberta(int32_t topd, int32_t length) {
    switch (topd) {
    case 8:
    case 10:
    case 12:
        return length <= 72;
    case 14:
        return length <= 60;
    case 16:
        return length <= 30;
    default:
        return false;
    }
}

bool IsSmallStemSmalian(int32_t grossvol, int32_t length) {
    // Litres per metre needs a length to divide by; a negative one merely
    // gives a negative rate.
    if (length == 0)
        return false;
    const double perMetre = grossvol * 0.001 / (length * 0.1) * 1000;
    return static_cast<long long>(RoundDecimals(perMetre, 0)) <= 24;
}

std::string ApplySawlogProductRule(const LogMeasures& log, const ProductSettings& header) {
    if (header.sawlogs == "N" || log.prodcode == kUndersize)
        return log.prodcode;
    if (log.prodcode != kSawlogs && log.prodcode != kSmallStem)
        return log.prodcode;
    if (log.prodOverride != "N")
        return log.prodcode;
    if (!IsConiferSpecies(log.species) || log.grossvol <= 0)
        return kSawlogs;
    const bool small = header.volCalcMeth == "S" ? IsSmallStemSmalian(log.grossvol, log.length)
                                                 : IsSmallStemAlberta(log.topd, log.length);
    return small ? kSmallStem : kSawlogs;
}

std::string ApplyUndersizeRule(const LogMeasures& log, const ProductSettings& header) {
    if (log.prodOverride == "Y")
        return log.prodcode;
    // Only a species field holding nothing is no species: the list's blank
    // entry, as the record returns it, counts as one, as it does for the
    // log reaction.
    if (log.species.empty() || log.topd <= 0)
        return log.prodcode;
    if (log.topd < header.htopd)
        return kUndersize;
    if (log.prodcode != kUndersize)
        return log.prodcode;
    LogMeasures restored = log;
    restored.prodcode = header.hprodcode;
    return ApplySawlogProductRule(restored, header);
}

} // namespace brimlo
