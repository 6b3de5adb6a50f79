#include "reports/ReportTotals.h"

#include <algorithm>

namespace brimlo {

namespace {

constexpr double kTreeVolumeBias = 0.00001;

double Guarded(double numerator, double denominator) {
    return denominator == 0.0 ? 0.0 : numerator / denominator;
}

} // namespace

int UsedGroups(int numGroups) {
    return std::clamp(numGroups, 0, LoadSummary::kMaxGroups);
}

GroupTotals SumGroups(const std::array<SummaryGroup, LoadSummary::kMaxGroups>& groups, int used) {
    GroupTotals totals;
    for (int i = 0; i < UsedGroups(used); ++i) {
        const SummaryGroup& g = groups[static_cast<std::size_t>(i)];
        totals.logs += g.LOGNUMS;
        totals.length += g.LENGTH;
        totals.gross += g.GROSSVOL;
        totals.cull += g.CULLVOL;
        totals.net += g.NETVOL;
    }
    return totals;
}

double CullPercent(double cull, double gross) {
    return Guarded(100.0 * cull, gross);
}

LoadStatistics ComputeStatistics(const GroupTotals& totals, int64_t trees, double netWeight) {
    LoadStatistics stats;
    if (trees != 0)
        stats.grossPerTree = totals.gross / static_cast<double>(trees) + kTreeVolumeBias;
    stats.averageLogSize = Guarded(totals.gross, totals.length);
    stats.weightToVolume = Guarded(netWeight, totals.net);
    return stats;
}

} // namespace brimlo
