#include "load/WorkspaceRecords.h"

#include <algorithm>

namespace brimlo {

namespace {

int16_t Short(const Value& v) {
    return static_cast<int16_t>(v.asInt());
}

Value Text(const std::string& s) {
    return Value(s);
}

// Header texts are stored without the blanks that padded them in the file,
// as the same texts keyed by hand would be: a source of twenty blanks is no
// source, and a reopened load with a disposition passes the source check.
Value StoredText(const std::string& s) {
    const auto end = s.find_last_not_of(' ');
    return Value(end == std::string::npos ? std::string() : s.substr(0, end + 1));
}

// A number field that may hold no value.
Value OptionalShort(bool has, int16_t value) {
    return has ? Value(int32_t{value}) : Value();
}

} // namespace

char FirstOrBlank(const std::string& text) {
    return text.empty() ? ' ' : text[0];
}

HeaderRecord HeaderOf(const Dataset& h) {
    HeaderRecord r;
    r.LESSEE = h.field("LESSEE").asString();
    r.MILL_NAME = h.field("MILL_NAME").asString();
    r.DISP = h.field("DISP").asString();
    r.SUBDISP = h.field("SUBDISP").asString();
    r.MILL_NUM = h.field("MILL_NUM").asInt();
    r.BLOCK_NUM = h.field("BLOCK_NUM").asString();
    r.LOAD_NUM = h.field("LOAD_NUM").asInt();
    r.POP = Short(h.field("POP"));
    r.HTOPD = Short(h.field("HTOPD"));
    r.NETWEIGHT = h.field("NETWEIGHT").asDouble();
    r.TM9 = h.field("TM9").asString();
    r.HSPECIES = h.field("HSPECIES").asString();
    r.HCONDCODE = h.field("HCONDCODE").asString();
    r.HPRODCODE = h.field("HPRODCODE").asString();
    r.SOURCE = h.field("SOURCE").asString();
    r.MILL_CODE = h.field("MILL_CODE").asString();
    r.LOAD_ID = Short(h.field("LOAD_ID"));
    r.TREES = Short(h.field("TREES"));
    r.SAWLOGS = h.field("SAWLOGS").asString();
    r.DATEWEIGHED = h.field("DATEWEIGHED").asDate();
    r.VOL_CALC_METH = h.field("VOL_CALC_METH").asString();
    r.SCALER_NAME = h.field("SCALER_NAME").asString();
    r.SCALER_PERMIT = h.field("SCALER_PERMIT").asString();
    r.TRIM_ALLOWANCE = h.field("TRIM_ALLOWANCE").asBool();
    return r;
}

LogRecord LogOf(const FieldList& fields, const Record& values) {
    auto at = [&](const char* name) -> const Value& {
        for (size_t i = 0; i < fields.size(); ++i)
            if (fields[i].name == name)
                return values[i];
        static const Value none;
        return none;
    };
    LogRecord r;
    r.LOGNUM = at("LOGNUM").asInt();
    r.SPECIES = at("SPECIES").asString();
    r.CONDCODE = at("CONDCODE").asString();
    r.PRODCODE = at("PRODCODE").asString();
    r.TOPD = Short(at("TOPD"));
    r.LENGTH = Short(at("LENGTH"));
    r.C1 = Short(at("C1"));
    r.C2 = Short(at("C2"));
    r.C3 = Short(at("C3"));
    r.CULL_TYPE = at("CULL_TYPE").asString();
    r.CULL_METH = at("CULL_METH").asString();
    r.GROSSVOL = at("GROSSVOL").asDouble();
    r.CULLVOL = at("CULLVOL").asDouble();
    r.BUTTD = Short(at("BUTTD"));
    r.FLAG = at("FLAG").asString();
    r.LOAD_ID = Short(at("LOAD_ID"));
    r.hasLoadId = !at("LOAD_ID").isNull();
    r.DBH = Short(at("DBH"));
    r.hasDbh = !at("DBH").isNull();
    r.PROD_OVERRIDE = at("PROD_OVERRIDE").asString();
    r.ACT_LENGTH = Short(at("ACT_LENGTH"));
    r.hasActLength = !at("ACT_LENGTH").isNull();
    return r;
}

LogRecord LogOf(const Dataset& log) {
    return LogOf(log.fields(), log.record());
}

void AssignHeader(Dataset& h, const HeaderRecord& r) {
    h.setField("LESSEE", StoredText(r.LESSEE));
    h.setField("MILL_NAME", StoredText(r.MILL_NAME));
    h.setField("DISP", StoredText(r.DISP));
    h.setField("SUBDISP", StoredText(r.SUBDISP));
    h.setField("MILL_NUM", Value(r.MILL_NUM));
    h.setField("BLOCK_NUM", StoredText(r.BLOCK_NUM));
    h.setField("LOAD_NUM", Value(r.LOAD_NUM));
    h.setField("POP", Value(int32_t{r.POP}));
    h.setField("HTOPD", Value(int32_t{r.HTOPD}));
    h.setField("NETWEIGHT", Value(r.NETWEIGHT));
    h.setField("TM9", StoredText(r.TM9));
    h.setField("HSPECIES", StoredText(r.HSPECIES));
    h.setField("HCONDCODE", StoredText(r.HCONDCODE));
    h.setField("HPRODCODE", StoredText(r.HPRODCODE));
    h.setField("SOURCE", StoredText(r.SOURCE));
    h.setField("MILL_CODE", StoredText(r.MILL_CODE));
    h.setField("LOAD_ID", Value(int32_t{r.LOAD_ID}));
    h.setField("TREES", Value(int32_t{r.TREES}));
    h.setField("SAWLOGS", StoredText(r.SAWLOGS));
    h.setField("DATEWEIGHED", Value(r.DATEWEIGHED));
    h.setField("VOL_CALC_METH", StoredText(r.VOL_CALC_METH));
    h.setField("SCALER_NAME", StoredText(r.SCALER_NAME));
    h.setField("SCALER_PERMIT", StoredText(r.SCALER_PERMIT));
}

void AssignLog(Dataset& l, const LogRecord& r) {
    l.setField("SPECIES", Text(r.SPECIES));
    l.setField("CONDCODE", Text(r.CONDCODE));
    l.setField("PRODCODE", Text(r.PRODCODE));
    l.setField("TOPD", Value(int32_t{r.TOPD}));
    l.setField("LENGTH", Value(int32_t{r.LENGTH}));
    l.setField("C1", Value(int32_t{r.C1}));
    l.setField("C2", Value(int32_t{r.C2}));
    l.setField("C3", Value(int32_t{r.C3}));
    l.setField("CULL_TYPE", Text(r.CULL_TYPE));
    l.setField("CULL_METH", Text(r.CULL_METH));
    l.setField("GROSSVOL", Value(r.GROSSVOL));
    l.setField("CULLVOL", Value(r.CULLVOL));
    l.setField("BUTTD", Value(int32_t{r.BUTTD}));
    l.setField("FLAG", Text(r.FLAG));
    l.setField("LOAD_ID", OptionalShort(r.hasLoadId, r.LOAD_ID));
    l.setField("DBH", OptionalShort(r.hasDbh, r.DBH));
    l.setField("PROD_OVERRIDE", Text(r.PROD_OVERRIDE));
    l.setField("ACT_LENGTH", OptionalShort(r.hasActLength, r.ACT_LENGTH));
}

std::vector<LogRecord> LogsOf(Dataset& log) {
    const FieldList& fields = log.fields();
    const Bookmark current = log.bookmark();
    std::vector<LogRecord> logs;
    for (const StoredRow& row : log.store().readAll()) {
        const bool edited = log.state() == DatasetState::Edit && current && current.id == row.id;
        logs.push_back(LogOf(fields, edited ? log.record() : row.values));
    }
    if (log.state() == DatasetState::Insert)
        logs.push_back(LogOf(log));
    std::stable_sort(logs.begin(), logs.end(),
                     [](const LogRecord& a, const LogRecord& b) { return a.LOGNUM < b.LOGNUM; });
    return logs;
}

LogMeasures MeasuresOf(const Dataset& log) {
    LogMeasures m;
    m.species = log.field("SPECIES").asString();
    m.topd = log.field("TOPD").asInt();
    m.buttd = log.field("BUTTD").asInt();
    m.length = log.field("LENGTH").asInt();
    m.c1 = log.field("C1").asInt();
    m.c2 = log.field("C2").asInt();
    m.c3 = log.field("C3").asInt();
    m.grossvol = log.field("GROSSVOL").asInt();
    m.cullType = FirstOrBlank(log.field("CULL_TYPE").asString());
    m.cullMethod = FirstOrBlank(log.field("CULL_METH").asString());
    m.prodcode = log.field("PRODCODE").asString();
    m.prodOverride = log.field("PROD_OVERRIDE").asString();
    return m;
}

} // namespace brimlo
