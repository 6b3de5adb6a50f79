#pragma once

#include "load/HeaderRecord.h"
#include "load/LogRecord.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace brimlo {

// One Sp-Cd-Pr group of the load summary, named after the master columns
// it fills. Units once computed: metres, cubic metres, percent.
struct SummaryGroup {
    std::string SPCDPR; // group key, empty for a group not in use
    int32_t LOGNUMS = 0;
    double LENGTH = 0.0;
    double GROSSVOL = 0.0;
    double CULLVOL = 0.0;
    double NETVOL = 0.0;
    double CULLPER = 0.0;

    bool operator==(const SummaryGroup&) const = default;
};

// The per-combination totals of a load: at most twelve groups, the header's
// combination always first, the others in order of first appearance.
struct LoadSummary {
    static constexpr int kMaxGroups = 12;

    std::array<SummaryGroup, kMaxGroups> groups{};
    int16_t NUM_GROUPS = 0;
    int32_t TOTALLOGS = 0;

    bool operator==(const LoadSummary&) const = default;
};

// Species, a blank, condition, a blank, product; a one-letter species is
// padded to two so the condition always starts at the fourth character.
std::string SummaryGroupKey(const std::string& species, const std::string& condition,
                            const std::string& product);

// Builds the summary from the header's combination and the logs, walked in
// LOGNUM order whatever order the vector holds them in.
LoadSummary ComputeLoadSummary(const HeaderRecord& header, const std::vector<LogRecord>& logs);

} // namespace brimlo
