#pragma once

#include "master/MasterFields.h"
#include "support/Value.h"

#include <string>

namespace brimlo::testing {

// A master record with every field set, different for each load number
// and version: texts with a Windows-1252 letter, doubles that decimal text
// cannot hold exactly, dates, and groups 1 to 12 in use.
inline Record SharedMasterRecord(const std::string& millCode, int32_t loadNum, int version = 0) {
    Record r;
    int i = 0;
    for (const FieldDef& f : MasterFieldList()) {
        const int k = loadNum * 131 + version * 17 + i++;
        switch (f.type) {
        case FieldType::Alpha:
            r.emplace_back((std::string("\xE9") + "C" + std::to_string(k))
                               .substr(0, static_cast<size_t>(f.size)));
            break;
        case FieldType::Short:
        case FieldType::Long:
            r.emplace_back(static_cast<int32_t>(k % 30000));
            break;
        case FieldType::Number:
            r.emplace_back(k / 3.0 + 0.1);
            break;
        case FieldType::Date:
            r.emplace_back(Date::fromYmd(2000 + k % 30, 1 + k % 12, 1 + k % 28));
            break;
        case FieldType::Logical:
            r.emplace_back(k % 2 == 0);
            break;
        }
    }
    r[kMasterMillCode] = millCode;
    r[kMasterLoadNum] = loadNum;
    r[kMasterPop] = int32_t{1};
    r[kMasterNumGroups] = int32_t{1 + (loadNum + version) % 12};
    r[kMasterSawlogs] = std::string("N");
    r[kMasterTrees] = version; // tells the versions of one load apart
    return r;
}

} // namespace brimlo::testing
