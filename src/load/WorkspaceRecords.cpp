#include "load/WorkspaceRecords.h"

#include <algorithm>
#include <optional>
#include <type_traits>

namespace brimlo {

namespace {

// Header texts are stored without the blanks that padded them in the file,
// as the same texts keyed by hand would be: a source of twenty blanks is no
// source, and a reopened load with a disposition passes the source check.
std::string StoredText(const std::string& s) {
    const auto end = s.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : s.substr(0, end + 1);
}

enum class Texts { AsTheyAre, TrailingBlanksDropped };

template <class Member> void Read(const Value& v, Member& out) {
    if constexpr (std::is_same_v<Member, std::string>)
        out = v.asString();
    else if constexpr (std::is_same_v<Member, double>)
        out = v.asDouble();
    else if constexpr (std::is_same_v<Member, Date>)
        out = v.asDate();
    else
        out = static_cast<Member>(v.asInt());
}

template <class Member> Value Written(const Member& in, Texts texts) {
    if constexpr (std::is_same_v<Member, std::string>)
        return texts == Texts::TrailingBlanksDropped ? Value(StoredText(in)) : Value(in);
    else if constexpr (std::is_same_v<Member, int16_t>)
        return Value(int32_t{in});
    else
        return Value(in);
}

// Reads every field a member holds through valueAt(position); a field the
// table lacks reads as no value.
template <class Record, class Field, class ValueAt>
Record RecordOf(const FieldIndex<Field>& index, ValueAt valueAt) {
    static const Value none;
    Record r;
    for (const auto& d : DescriptorsOf(Field{})) {
        const int at = index.find(d.field);
        const Value& v = at < 0 ? none : valueAt(at);
        std::visit(
            [&](auto member) {
                if constexpr (!std::is_same_v<decltype(member), std::monostate>)
                    Read(v, r.*member);
            },
            d.member);
        if (d.present != nullptr)
            r.*d.present = !v.isNull();
    }
    return r;
}

// The value a field is written with; a number that holds no value is
// written as none, not as 0.
template <class Field, class Record>
Value ValueOf(const FieldDescriptor<Field, Record>& d, const Record& r, Texts texts) {
    if (d.present != nullptr && !(r.*d.present))
        return Value();
    return std::visit(
        [&](auto member) -> Value {
            if constexpr (std::is_same_v<decltype(member), std::monostate>)
                return Value();
            else
                return Written(r.*member, texts);
        },
        d.member);
}

// Fields without a member (part of the layout only) are not written.
template <class Record, class Field>
void Assign(LoadWorkspace& workspace, const Record& r, Texts texts,
            std::optional<Field> skipped = std::nullopt) {
    for (const auto& d : DescriptorsOf(Field{}))
        if (d.field != skipped && !std::holds_alternative<std::monostate>(d.member))
            workspace.setField(d.field, ValueOf(d, r, texts));
}

} // namespace

char FirstOrBlank(const std::string& text) {
    return text.empty() ? ' ' : text[0];
}

HeaderRecord HeaderOf(const LoadWorkspace& workspace) {
    const Dataset& h = workspace.header();
    return RecordOf<HeaderRecord>(workspace.headerIndex(),
                                  [&](int at) -> const Value& { return h.field(at); });
}

LogRecord LogOf(const LogFieldIndex& index, const Record& values) {
    return RecordOf<LogRecord>(
        index, [&](int at) -> const Value& { return values[static_cast<size_t>(at)]; });
}

LogRecord LogOf(const LoadWorkspace& workspace) {
    const Dataset& l = workspace.log();
    return RecordOf<LogRecord>(workspace.logIndex(),
                               [&](int at) -> const Value& { return l.field(at); });
}

void AssignHeader(LoadWorkspace& workspace, const HeaderRecord& record) {
    Assign<HeaderRecord, HeaderField>(workspace, record, Texts::TrailingBlanksDropped);
}

void AssignLog(LoadWorkspace& workspace, const LogRecord& record) {
    Assign<LogRecord, LogField>(workspace, record, Texts::AsTheyAre, LogField::LOGNUM);
}

std::vector<LogRecord> LogsOf(LoadWorkspace& workspace) {
    Dataset& log = workspace.log();
    const LogFieldIndex& index = workspace.logIndex();
    const Bookmark current = log.bookmark();
    std::vector<LogRecord> logs;
    for (const StoredRow& row : log.store().readAll()) {
        const bool edited = log.state() == DatasetState::Edit && current && current.id == row.id;
        logs.push_back(edited ? LogOf(workspace) : LogOf(index, row.values));
    }
    if (log.state() == DatasetState::Insert)
        logs.push_back(LogOf(workspace));
    std::stable_sort(logs.begin(), logs.end(),
                     [](const LogRecord& a, const LogRecord& b) { return a.LOGNUM < b.LOGNUM; });
    return logs;
}

} // namespace brimlo
