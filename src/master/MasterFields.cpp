#include "master/MasterFields.h"

#include <string>

namespace brimlo {

namespace {

FieldList BuildMasterFieldList() {
    FieldList fields = {
        {"MILLCODE", FieldType::Alpha, 2},  {"POP", FieldType::Short},
        {"MILL_NUM", FieldType::Long},      {"SAWLOGS", FieldType::Alpha, 1},
        {"LESSEE", FieldType::Alpha, 20},   {"MILL_NAME", FieldType::Alpha, 20},
        {"DISP", FieldType::Alpha, 10},     {"SUBDISP", FieldType::Alpha, 4},
        {"BLOCK_NUM", FieldType::Alpha, 4}, {"LOAD_NUM", FieldType::Long},
        {"TOP_D", FieldType::Short},        {"WEIGH_DATE", FieldType::Date},
        {"NET_WEIGHT", FieldType::Long},    {"TM9", FieldType::Alpha, 10},
        {"HSPECIES", FieldType::Alpha, 2},  {"HCONDCODE", FieldType::Alpha, 2},
        {"HPRODCODE", FieldType::Alpha, 2}, {"SOURCE", FieldType::Alpha, 20},
        {"TREES", FieldType::Long},
    };
    for (int n = 1; n <= 12; ++n) {
        const std::string s = std::to_string(n);
        fields.push_back({"SPCDPR" + s, FieldType::Alpha, 8});
        fields.push_back({"LOGNUMS" + s, FieldType::Long});
        fields.push_back({"LENGTH" + s, FieldType::Number});
        fields.push_back({"GROSSVOL" + s, FieldType::Number});
        fields.push_back({"CULLVOL" + s, FieldType::Number});
        fields.push_back({"NETVOL" + s, FieldType::Number});
        fields.push_back({"CULLPER" + s, FieldType::Number});
    }
    fields.push_back({"NUM_GROUPS", FieldType::Short});
    fields.push_back({"TOTALLOGS", FieldType::Long});
    return fields;
}

} // namespace

const FieldList& MasterFieldList() {
    static const FieldList fields = BuildMasterFieldList();
    return fields;
}

const std::vector<int>& MasterPostFieldOrder() {
    static const std::vector<int> order = [] {
        std::vector<int> o = {kMasterMillCode,  kMasterPop,      kMasterMillNum,   kMasterSawlogs,
                              kMasterLessee,    kMasterMillName, kMasterDisp,      kMasterSubDisp,
                              kMasterBlockNum,  kMasterLoadNum,  kMasterWeighDate, kMasterTopD,
                              kMasterNetWeight, kMasterTm9,      kMasterHSpecies,  kMasterHCondCode,
                              kMasterHProdCode, kMasterSource,   kMasterTotalLogs, kMasterTrees,
                              kMasterNumGroups};
        for (int i = kMasterFirstGroupField; i < kMasterNumGroups; ++i)
            o.push_back(i);
        return o;
    }();
    return order;
}

} // namespace brimlo
