#pragma once

#include "support/FieldDef.h"

#include <vector>

namespace brimlo {

// Positions of the master table's fields in its record, in table order.
enum MasterField : int {
    kMasterMillCode = 0,
    kMasterPop,
    kMasterMillNum,
    kMasterSawlogs,
    kMasterLessee,
    kMasterMillName,
    kMasterDisp,
    kMasterSubDisp,
    kMasterBlockNum,
    kMasterLoadNum,
    kMasterTopD,
    kMasterWeighDate,
    kMasterNetWeight,
    kMasterTm9,
    kMasterHSpecies,
    kMasterHCondCode,
    kMasterHProdCode,
    kMasterSource,
    kMasterTrees,
    kMasterFirstGroupField, // SPCDPR1; each group holds seven fields
    kMasterNumGroups = kMasterFirstGroupField + 7 * 12,
    kMasterTotalLogs,
    kMasterFieldCount
};

// The seven fields of one summary group, in their order within the group.
enum MasterGroupField : int {
    kGroupSpCdPr = 0,
    kGroupLogNums,
    kGroupLength,
    kGroupGrossVol,
    kGroupCullVol,
    kGroupNetVol,
    kGroupCullPer
};

// Position of a field of group n (1 to 12).
constexpr int MasterGroupFieldIndex(int n, MasterGroupField field) {
    return kMasterFirstGroupField + 7 * (n - 1) + field;
}

// The layout master.db is created with: 105 fields, the nineteen header
// fields, twelve groups of seven, NUM_GROUPS and TOTALLOGS.
const FieldList& MasterFieldList();

// The fields in the order a post assigns them.
const std::vector<int>& MasterPostFieldOrder();

} // namespace brimlo
