#include "load/CheckScaleTolerances.h"

#include <algorithm>
#include <cmath>

namespace brimlo {

namespace {

bool Usable(double value) {
    return std::isfinite(value) && value >= 0.0;
}

} // namespace

double CheckScaleTolerances::allowedNetPercent(double checkDefectPercent) const {
    if (!defectRule)
        return netPercent;
    return std::min(defectFactor * checkDefectPercent, defectMaxPercent);
}

std::optional<std::string> CheckScaleTolerances::problem() const {
    if (!Usable(grossPercent))
        return "The gross volume tolerance must be a percentage of 0 or more.";
    if (!Usable(netPercent))
        return "The net volume tolerance must be a percentage of 0 or more.";
    if (defectRule && !Usable(defectFactor))
        return "The percent defect factor must be 0 or more.";
    if (defectRule && !Usable(defectMaxPercent))
        return "The largest allowed net variance must be a percentage of 0 or more.";
    return std::nullopt;
}

} // namespace brimlo
