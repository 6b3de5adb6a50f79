#include "ScaleMaster.h"

#include "master/MasterFields.h"
#include "support/ParadoxTable.h"

namespace brimlo::bench {

namespace {

const char* const kGroupKeys[] = {"S  GR 01", "F  GR 01", "P  DE 06", "L  GR 01",
                                  "B  RT 06", "C  GR 01", "A  DE 01", "D  GR 06",
                                  "S  DE 06", "F  RT 01", "P  GR 01", "L  DE 06"};

} // namespace

CMaster ScaleMasterRecord(int n) {
    CMaster m;
    m.MILLCODE = "AB";
    m.POP = static_cast<int16_t>(n % 9 + 1);
    m.MILL_NUM = 123456;
    m.SAWLOGS = 'N';
    m.LESSEE = "LESSEE CO";
    m.MILL_NAME = "NORTH MILL";
    m.DISP = "CTL" + std::to_string(n % 1000);
    m.SUBDISP = "A1";
    m.BLOCK_NUM = "12";
    m.LOAD_NUM = n + 1;
    m.TOP_D = 16;
    m.WEIGH_DATE = Date::fromYmd(2020 + n / 40000, 1 + n % 12, 1 + n % 28);
    m.NET_WEIGHT = 20000 + n % 5000;
    m.SOURCE = "CREEK";
    m.TREES = 5 + n % 20;
    m.summary.NUM_GROUPS = static_cast<int16_t>(1 + n % 12);
    for (int g = 0; g < m.summary.NUM_GROUPS; ++g) {
        m.summary.groups[static_cast<size_t>(g)] = {kGroupKeys[g], 2 + g, 9.6 + g, 0.448 * (g + 1),
                                                    0.02,          0.428, 4.46};
        m.summary.TOTALLOGS += 2 + g;
    }
    return m;
}

void WriteScaleMaster(const std::string& path, int records) {
    auto table = ParadoxTable::create(path, MasterFieldList());
    table->beginBulk();
    for (int n = 0; n < records; ++n)
        table->insert(ScaleMasterRecord(n).ToMasterRecord());
    table->endBulk();
}

} // namespace brimlo::bench
