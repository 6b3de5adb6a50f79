#include "master/SampleTables.h"

#include "master/CMaster.h"
#include "master/MasterStore.h"
#include "master/MasterTable.h"
#include "support/DbaseWriter.h"
#include "support/DovraneGeneric.h"
#include "support/LocalFileName.h"

#include <cmath>
#include <functional>
#include <vector>

namespace brimlo {

namespace {

const std::vector<DbaseField>& VolumeFields() {
    static const std::vector<DbaseField> fields = {
        {"MILL_NUM", 'C', 6},   {"POPULATION", 'C', 3}, {"LOAD_NUM", 'C', 6},
        {"LAND_DISP", 'C', 10}, {"SUB_DISP", 'C', 4},   {"LOAD_DATE", 'D', 8},
        {"SOURCE", 'C', 20},    {"SPCDPR", 'C', 8},     {"NET_SCALE", 'N', 7},
    };
    return fields;
}

const std::vector<DbaseField>& WeightFields() {
    static const std::vector<DbaseField> fields = {
        {"MILL_LET", 'C', 1},   {"MILL_NUM", 'C', 6}, {"MILL_CODE", 'C', 2},
        {"POPULATION", 'C', 3}, {"LOAD_NUM", 'C', 6}, {"LESSEE", 'C', 20},
        {"LAND_DISP", 'C', 10}, {"SUB_DISP", 'C', 4}, {"BLOCK_NUM", 'C', 4},
        {"LOAD_DATE", 'D', 8},  {"TOP_DIAM", 'N', 2}, {"NETWEIGHT", 'N', 6},
        {"SOURCE", 'C', 20},    {"LOGS", 'N', 5},     {"GROSS_M3_M", 'N', 4},
    };
    return fields;
}

std::string PaddedTo2(std::string text) {
    text.resize(2, ' ');
    return text;
}

// Net volume in whole litres, halves up.
double NetScale(const SummaryGroup& g) {
    return std::floor((g.GROSSVOL - g.CULLVOL) * 1000 + 0.5);
}

Record VolumeRow(const CMaster& m, const SummaryGroup& g) {
    return {std::to_string(m.MILL_NUM),
            std::to_string(m.POP),
            std::to_string(m.LOAD_NUM),
            m.DISP,
            m.SUBDISP,
            m.WEIGH_DATE,
            m.SOURCE,
            SampleSpCdPr(g.SPCDPR),
            NetScale(g)};
}

struct RecordTotals {
    double length = 0.0;
    double gross = 0.0;
    int32_t logs = 0;
};

Record WeightRow(const CMaster& m, const RecordTotals& totals) {
    const double grossPerMetre =
        totals.length != 0.0 ? RoundDecimals(totals.gross * 1000 / totals.length, 0) : 0.0;
    return {"M",
            std::to_string(m.MILL_NUM),
            m.MILLCODE,
            std::to_string(m.POP),
            std::to_string(m.LOAD_NUM),
            m.LESSEE,
            m.DISP,
            m.SUBDISP,
            m.BLOCK_NUM,
            m.WEIGH_DATE,
            int32_t{m.TOP_D},
            m.NET_WEIGHT,
            m.SOURCE,
            totals.logs,
            grossPerMetre};
}

} // namespace

std::string SampleSpCdPr(const std::string& groupKey) {
    // The key is species (two), a blank, the condition (none to two
    // characters, unpadded), a blank and the product. Padding the condition
    // back to two keeps the product whole when the condition is one letter.
    std::string key = groupKey;
    while (!key.empty() && key.back() == ' ')
        key.pop_back();
    const std::size_t productBlank = key.size() > 3 ? key.rfind(' ') : std::string::npos;
    if (productBlank == std::string::npos || productBlank < 3) {
        auto part = [&](std::size_t at) {
            return at < groupKey.size() ? groupKey.substr(at, 2) : "";
        };
        return part(0) + part(3) + part(6);
    }
    return PaddedTo2(key.substr(0, 2)) + PaddedTo2(key.substr(3, productBlank - 3)) +
           key.substr(productBlank + 1, 2);
}

void CreateSampleTables(const std::string& directory, Date lastUpdate) {
    DbaseWriter volume(LocalFileName(directory + kVolumeSampleTable), VolumeFields(), lastUpdate);
    volume.commit();
    DbaseWriter weight(LocalFileName(directory + kWeightSampleTable), WeightFields(), lastUpdate);
    weight.commit();
}

namespace {

// The two tables from the records that forEachMaster loads into its
// argument one after the other.
bool WriteSampleTablesOf(
    const std::string& directory, Date lastUpdate,
    const std::function<void(const std::function<void(CMaster&)>&)>& forEachMaster) {
    DbaseWriter volume(LocalFileName(directory + kVolumeSampleTable), VolumeFields(), lastUpdate);
    DbaseWriter weight(LocalFileName(directory + kWeightSampleTable), WeightFields(), lastUpdate);
    forEachMaster([&](CMaster& m) {
        RecordTotals totals;
        for (int n = 1; n <= m.summary.NUM_GROUPS; ++n) {
            const SummaryGroup& g = m.summary.groups[n - 1];
            volume.appendRow(VolumeRow(m, g));
            totals.length += g.LENGTH;
            totals.gross += g.GROSSVOL;
            totals.logs += g.LOGNUMS;
        }
        weight.appendRow(WeightRow(m, totals));
    });
    volume.commit();
    weight.commit();
    return true;
}

} // namespace

bool WriteSampleTables(const std::string& directory, MasterTable& table, Date lastUpdate) {
    return WriteSampleTablesOf(directory, lastUpdate,
                               [&](const std::function<void(CMaster&)>& row) {
                                   CMaster m;
                                   table.forEach([&] {
                                       m.ClearSummary();
                                       m.CopyFromMaster(table);
                                       row(m);
                                   });
                               });
}

bool WriteSampleTables(const std::string& directory, MasterStore& store, Date lastUpdate) {
    return WriteSampleTablesOf(directory, lastUpdate,
                               [&](const std::function<void(CMaster&)>& row) {
                                   CMaster m;
                                   store.forEach([&](const Record& record) {
                                       m.ClearSummary();
                                       m.CopyFromMaster(record);
                                       row(m);
                                   });
                               });
}

} // namespace brimlo
