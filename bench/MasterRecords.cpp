#include "MasterRecords.h"

#include "master/MasterFields.h"
#include "support/ParadoxTable.h"

#include <random>
#include <string>

namespace brimlo::bench {

Record FilledMasterRecord(int n) {
    std::mt19937 rng(static_cast<unsigned>(n) * 7919u + 1u);
    Record r;
    r.reserve(MasterFieldList().size());
    for (const FieldDef& f : MasterFieldList()) {
        switch (f.type) {
        case FieldType::Alpha:
            r.emplace_back(
                std::string(static_cast<size_t>(f.size), static_cast<char>('A' + rng() % 26)));
            break;
        case FieldType::Short:
            r.emplace_back(static_cast<int32_t>(rng() % 1000));
            break;
        case FieldType::Long:
            r.emplace_back(static_cast<int32_t>(rng() % 1000000));
            break;
        case FieldType::Number:
            r.emplace_back(static_cast<double>(rng() % 100000) / 100.0);
            break;
        case FieldType::Date:
            r.emplace_back(Date{730000 + static_cast<int32_t>(rng() % 9000)});
            break;
        case FieldType::Logical:
            r.emplace_back(rng() % 2 == 0);
            break;
        }
    }
    r[kMasterLoadNum] = Value(static_cast<int32_t>(n));
    return r;
}

void WriteFilledMaster(const std::string& path, int records) {
    auto table = ParadoxTable::create(path, MasterFieldList());
    table->beginBulk();
    for (int i = 0; i < records; ++i)
        table->insert(FilledMasterRecord(i));
    table->endBulk();
}

} // namespace brimlo::bench
