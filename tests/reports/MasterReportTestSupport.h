#pragma once

#include "common/MemoryTableStore.h"
#include "master/MasterFields.h"
#include "support/Dataset.h"
#include "support/TableStore.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace brimlo::testing {

inline std::unique_ptr<Dataset> NewReportMaster() {
    return std::make_unique<Dataset>(std::make_unique<MemoryTableStore>(MasterFieldList()));
}

struct TestGroup {
    std::string key;
    int32_t logs = 0;
    double length = 0.0, gross = 0.0, cull = 0.0, net = 0.0, cullPer = 0.0;
};

// A master record with plain header values and the groups given.
struct TestMasterRecord {
    std::string millCode = "AB";
    int32_t pop = 3;
    int32_t millNum = 4711;
    std::string sawlogs = "Y";
    std::string lessee = "Lessee";
    int32_t loadNum = 123;
    int32_t topD = 14;
    int32_t netWeight = 12346;
    int32_t trees = 20;
    int32_t totalLogs = 0;
    std::vector<TestGroup> groups;
};

inline void AddRecord(Dataset& master, const TestMasterRecord& r) {
    master.insert();
    master.setField(kMasterMillCode, Value(r.millCode));
    master.setField(kMasterPop, Value(r.pop));
    master.setField(kMasterMillNum, Value(r.millNum));
    master.setField(kMasterSawlogs, Value(r.sawlogs));
    master.setField(kMasterLessee, Value(r.lessee));
    master.setField(kMasterMillName, Value("Millname"));
    master.setField(kMasterDisp, Value("D1234"));
    master.setField(kMasterSubDisp, Value("SD9"));
    master.setField(kMasterBlockNum, Value("B7"));
    master.setField(kMasterLoadNum, Value(r.loadNum));
    master.setField(kMasterTopD, Value(r.topD));
    master.setField(kMasterWeighDate, Value(Date::fromYmd(2026, 3, 4)));
    master.setField(kMasterNetWeight, Value(r.netWeight));
    master.setField(kMasterTm9, Value("TMX"));
    master.setField(kMasterHSpecies, Value("S"));
    master.setField(kMasterHCondCode, Value("GR"));
    master.setField(kMasterHProdCode, Value("01"));
    master.setField(kMasterSource, Value("Source"));
    master.setField(kMasterTrees, Value(r.trees));
    for (int n = 1; n <= 12; ++n) {
        const bool used = n <= static_cast<int>(r.groups.size());
        const TestGroup g = used ? r.groups[static_cast<std::size_t>(n - 1)] : TestGroup{};
        master.setField(MasterGroupFieldIndex(n, kGroupSpCdPr), Value(g.key));
        master.setField(MasterGroupFieldIndex(n, kGroupLogNums), Value(g.logs));
        master.setField(MasterGroupFieldIndex(n, kGroupLength), Value(g.length));
        master.setField(MasterGroupFieldIndex(n, kGroupGrossVol), Value(g.gross));
        master.setField(MasterGroupFieldIndex(n, kGroupCullVol), Value(g.cull));
        master.setField(MasterGroupFieldIndex(n, kGroupNetVol), Value(g.net));
        master.setField(MasterGroupFieldIndex(n, kGroupCullPer), Value(g.cullPer));
    }
    master.setField(kMasterNumGroups, Value(static_cast<int32_t>(r.groups.size())));
    master.setField(kMasterTotalLogs, Value(r.totalLogs));
    master.post();
}

// n groups "S  GR 01", "S  GR 02", ... each of one log, 1 m3 gross, 0.1 cull.
inline std::vector<TestGroup> PlainGroups(int n) {
    std::vector<TestGroup> groups;
    for (int i = 1; i <= n; ++i) {
        const std::string product = (i < 10 ? "0" : "") + std::to_string(i);
        groups.push_back({"S  GR " + product, 1, 5.0, 1.0, 0.1, 0.9, 10.0});
    }
    return groups;
}

} // namespace brimlo::testing
