#pragma once

#include <optional>
#include <string>

namespace brimlo {

// What a check scale must agree within, as percentages of the check scale.
// Agreements differ: a plain percentage of gross and of net volume, or an
// allowed net variance tied to the check scaler's percent defect.
struct CheckScaleTolerances {
    double grossPercent = 1.0;
    double netPercent = 2.0;
    // The defect rule: allowed net variance = factor x the check scaler's
    // cull percentage, at most maxPercent. When set it takes the place of
    // netPercent; off unless an agreement asks for it.
    bool defectRule = false;
    double defectFactor = 0.2;
    double defectMaxPercent = 5.0;

    // The net variance a group may show, given the check scale's percent
    // defect of that group.
    double allowedNetPercent(double checkDefectPercent) const;

    // What is wrong with these tolerances, for the user; nothing when they
    // can be used (no negative or non-finite value).
    std::optional<std::string> problem() const;

    bool operator==(const CheckScaleTolerances&) const = default;
};

} // namespace brimlo
