#include "cli/MasterRecordText.h"

#include "cli/OutputText.h"
#include "master/MasterFields.h"

#include <algorithm>

namespace brimlo::cli {

namespace {

std::string JsonValue(const Value& value, FieldType type) {
    switch (type) {
    case FieldType::Alpha:
        return JsonString(Utf8Text(value.asString()));
    case FieldType::Date:
        return value.asDate().valid() ? JsonString(IsoDate(value.asDate())) : "null";
    default:
        return ValueText(value, type);
    }
}

// "SPCDPR1" names the array "SPCDPR".
std::string GroupFieldName(const FieldDef& field) {
    std::string name = field.name;
    while (!name.empty() && name.back() >= '0' && name.back() <= '9')
        name.pop_back();
    return name;
}

int GroupsInUse(const MasterFieldAt& record) {
    return std::clamp(record(kMasterNumGroups).asInt(), 0, 12);
}

} // namespace

std::string MasterCsvHeader() {
    std::string line;
    for (const FieldDef& field : MasterFieldList())
        line += (line.empty() ? "" : ",") + field.name;
    return line + "\r\n";
}

std::string MasterCsvRow(const MasterFieldAt& record) {
    const FieldList& fields = MasterFieldList();
    std::string line;
    line.reserve(512);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i)
            line += ',';
        AppendCsvValue(line, record(static_cast<int>(i)), fields[i].type);
    }
    return line + "\r\n";
}

std::string MasterJsonLine(const MasterFieldAt& record) {
    const FieldList& fields = MasterFieldList();
    JsonObject json;
    for (int i = 0; i < kMasterFirstGroupField; ++i)
        json.raw(fields[i].name, JsonValue(record(i), fields[static_cast<std::size_t>(i)].type));
    const int groups = GroupsInUse(record);
    for (int f = kGroupSpCdPr; f <= kGroupCullPer; ++f) {
        const auto which = static_cast<MasterGroupField>(f);
        const FieldDef& field = fields[MasterGroupFieldIndex(1, which)];
        std::vector<std::string> items;
        for (int n = 1; n <= groups; ++n)
            items.push_back(JsonValue(record(MasterGroupFieldIndex(n, which)), field.type));
        json.raw(GroupFieldName(field), JsonArray(items));
    }
    json.raw("NUM_GROUPS", JsonValue(record(kMasterNumGroups), fields[kMasterNumGroups].type));
    json.raw("TOTALLOGS", JsonValue(record(kMasterTotalLogs), fields[kMasterTotalLogs].type));
    return json.str() + "\n";
}

} // namespace brimlo::cli
