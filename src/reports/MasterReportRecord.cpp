#include "reports/MasterReportRecord.h"

#include "master/MasterFields.h"
#include "reports/ReportTotals.h"
#include "support/Dataset.h"

namespace brimlo {

namespace {

const Value& FieldOf(const Record& record, int index) {
    static const Value null;
    return index < static_cast<int>(record.size()) ? record[static_cast<std::size_t>(index)] : null;
}

QString TextOf(const Record& record, int index) {
    return FieldText(FieldOf(record, index).asString());
}

QString IntegerOf(const Record& record, int index) {
    const Value& value = FieldOf(record, index);
    return value.isNull() ? QString() : NumberText(int64_t{value.asInt()});
}

HeaderBlockTexts ReadHeader(const Record& r) {
    HeaderBlockTexts t;
    t.lessee = TextOf(r, kMasterLessee);
    t.millName = TextOf(r, kMasterMillName);
    t.disp = TextOf(r, kMasterDisp);
    t.subDisp = TextOf(r, kMasterSubDisp);
    t.millNum = IntegerOf(r, kMasterMillNum);
    t.loadNum = IntegerOf(r, kMasterLoadNum);
    t.sawlogs = TextOf(r, kMasterSawlogs);
    t.dateWeighed = DateText(FieldOf(r, kMasterWeighDate).asDate());
    t.pop = IntegerOf(r, kMasterPop);
    t.topD = IntegerOf(r, kMasterTopD);
    t.netWeight = IntegerOf(r, kMasterNetWeight);
    t.tm9 = TextOf(r, kMasterTm9);
    t.block = TextOf(r, kMasterBlockNum);
    t.species = TextOf(r, kMasterHSpecies);
    t.condition = TextOf(r, kMasterHCondCode);
    t.product = TextOf(r, kMasterHProdCode);
    t.source = TextOf(r, kMasterSource);
    return t;
}

SummaryGroup ReadGroup(const Record& r, int n) {
    SummaryGroup g;
    g.SPCDPR = FieldOf(r, MasterGroupFieldIndex(n, kGroupSpCdPr)).asString();
    g.LOGNUMS = FieldOf(r, MasterGroupFieldIndex(n, kGroupLogNums)).asInt();
    g.LENGTH = FieldOf(r, MasterGroupFieldIndex(n, kGroupLength)).asDouble();
    g.GROSSVOL = FieldOf(r, MasterGroupFieldIndex(n, kGroupGrossVol)).asDouble();
    g.CULLVOL = FieldOf(r, MasterGroupFieldIndex(n, kGroupCullVol)).asDouble();
    g.NETVOL = FieldOf(r, MasterGroupFieldIndex(n, kGroupNetVol)).asDouble();
    g.CULLPER = FieldOf(r, MasterGroupFieldIndex(n, kGroupCullPer)).asDouble();
    return g;
}

} // namespace

MasterReportRecord ReadMasterReportRecord(const Record& record) {
    MasterReportRecord m;
    m.header = ReadHeader(record);
    m.millCode = TextOf(record, kMasterMillCode);
    m.totalLogs = IntegerOf(record, kMasterTotalLogs);
    m.trees = FieldOf(record, kMasterTrees).asInt();
    m.netWeight = FieldOf(record, kMasterNetWeight).asInt();
    m.numGroups = UsedGroups(FieldOf(record, kMasterNumGroups).asInt());
    for (int n = 1; n <= m.numGroups; ++n)
        m.groups[static_cast<std::size_t>(n - 1)] = ReadGroup(record, n);
    return m;
}

std::vector<MasterReportRecord> ReadMasterReportRecords(Dataset& master) {
    std::vector<MasterReportRecord> records;
    records.reserve(static_cast<std::size_t>(master.recordCount()));
    const Bookmark place = master.bookmark();
    // Windows showing the table need not follow the scan.
    master.disableControls();
    auto restore = [&master, &place] {
        if (master.bookmarkValid(place))
            master.gotoBookmark(place);
        master.enableControls();
    };
    try {
        for (master.first(); !master.eof(); master.next())
            records.push_back(ReadMasterReportRecord(master.record()));
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return records;
}

} // namespace brimlo
