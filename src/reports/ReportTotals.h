#pragma once

#include "load/LoadSummary.h"

#include <array>
#include <cstdint>

namespace brimlo {

// The sums over the groups in use. The unrounded group values are added,
// never the printed ones.
struct GroupTotals {
    int64_t logs = 0;
    double length = 0.0;
    double gross = 0.0;
    double cull = 0.0;
    double net = 0.0;
};

struct LoadStatistics {
    double grossPerTree = 0.0;
    double averageLogSize = 0.0; // m3 per metre
    double weightToVolume = 0.0; // kg per m3
};

// A stored group count held to what the twelve slots can show.
int UsedGroups(int numGroups);
GroupTotals SumGroups(const std::array<SummaryGroup, LoadSummary::kMaxGroups>& groups, int used);
// Cull as a percentage of gross; 0 without gross volume.
double CullPercent(double cull, double gross);
// Every quotient is 0 when what it divides by is 0. The gross per tree
// carries a small bias so that a quotient such as 0.21085 prints as 0.2109.
LoadStatistics ComputeStatistics(const GroupTotals& totals, int64_t trees, double netWeight);

} // namespace brimlo
