#include "load/LoadSummary.h"

#include "load/LogOrder.h"
#include "support/DovraneGeneric.h"

#include <algorithm>
#include <cmath>

namespace brimlo {

namespace {

// Logs and their volumes enter the summary as whole numbers; a value no
// log can hold (not a number, beyond 32 bits) is held at the nearest limit.
int32_t WholeNumber(double value) {
    if (std::isnan(value))
        return 0;
    const double limited = std::clamp(value, -2147483648.0, 2147483647.0);
    return static_cast<int32_t>(std::lround(limited));
}

// Sums in decimetres and litres while the logs are walked.
struct GroupSums {
    int32_t logs = 0;
    double length = 0.0;
    double gross = 0.0;
    double cull = 0.0;
};

// The group a log counts in, opening a new one while fewer than twelve are
// in use; -1 when the twelve are taken by other combinations.
int FindOrOpenGroup(LoadSummary& summary, const std::string& key) {
    for (int g = 0; g < summary.NUM_GROUPS; ++g)
        if (summary.groups[g].SPCDPR == key)
            return g;
    if (summary.NUM_GROUPS >= LoadSummary::kMaxGroups)
        return -1;
    summary.groups[summary.NUM_GROUPS].SPCDPR = key;
    return summary.NUM_GROUPS++;
}

void AddLog(GroupSums& sums, const LogRecord& log) {
    const int32_t gross = WholeNumber(log.GROSSVOL);
    if (gross <= 0)
        return;
    sums.length += log.LENGTH;
    sums.gross += gross;
    sums.cull += WholeNumber(log.CULLVOL);
    sums.logs += 1;
}

// A group whose logs have no gross volume shows no cull percentage rather
// than dividing by zero.
void FinishGroup(SummaryGroup& group, const GroupSums& sums) {
    group.LOGNUMS = sums.logs;
    const double net = sums.gross - sums.cull;
    group.LENGTH = sums.length * 0.1;
    if (sums.gross != 0.0) {
        group.CULLPER = sums.cull * 100 / sums.gross;
        group.GROSSVOL = sums.gross * 0.001;
    } else {
        group.CULLPER = 0.0;
        group.GROSSVOL = 0.0;
    }
    group.CULLVOL = sums.cull * 0.001;
    group.NETVOL = net * 0.001;
}

} // namespace

std::string SummaryGroupKey(const std::string& species, const std::string& condition,
                            const std::string& product) {
    std::string key = species;
    if (key.size() < 2)
        key.append(2 - key.size(), ' ');
    return key + " " + condition + " " + product;
}

LoadSummary ComputeLoadSummary(const HeaderRecord& header, const std::vector<LogRecord>& logs) {
    LoadSummary summary;
    std::array<GroupSums, LoadSummary::kMaxGroups> sums{};
    summary.groups[0].SPCDPR = SummaryGroupKey(header.HSPECIES, header.HCONDCODE, header.HPRODCODE);
    summary.NUM_GROUPS = 1;

    for (const LogRecord* log : InLogNumberOrder(logs)) {
        const std::string species = Trimmed(log->SPECIES);
        if (species.empty() || species == "N")
            continue;
        const int g =
            FindOrOpenGroup(summary, SummaryGroupKey(log->SPECIES, log->CONDCODE, log->PRODCODE));
        if (g >= 0)
            AddLog(sums[g], *log);
    }

    summary.TOTALLOGS = 0;
    for (int g = 0; g < summary.NUM_GROUPS; ++g) {
        summary.TOTALLOGS += sums[g].logs;
        FinishGroup(summary.groups[g], sums[g]);
    }
    return summary;
}

} // namespace brimlo
