#include "master/PgMasterStore.h"

#include "master/MasterFields.h"
#include "master/PgMasterSchema.h"
#include "support/Cp1252.h"
#include "support/PgConnection.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>

namespace brimlo {

namespace {

const int32_t kPgEpochDays = Date::fromYmd(2000, 1, 1).days; // the server's day 0

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string ToUtf8(const std::string& cp1252) {
    if (IsAscii(cp1252))
        return cp1252;
    return FromCp1252(cp1252).toUtf8().toStdString();
}

std::string FromUtf8(std::string_view utf8) {
    if (IsAscii(utf8))
        return std::string(utf8);
    return ToCp1252(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

uint64_t ReadBe(const char* p, int bytes) {
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | static_cast<unsigned char>(p[i]);
    return v;
}

// A field's parameter text, or nothing for NULL. Texts longer than the
// field are cut, as master.db cuts them; numbers keep every bit.
std::optional<std::string> ParamText(const FieldDef& field, const Value& value) {
    if (field.type == FieldType::Alpha) {
        std::string text = value.asString();
        text = text.substr(0, std::min(text.find('\0'), static_cast<size_t>(field.size)));
        return ToUtf8(text);
    }
    if (value.isNull() && field.name != "POP" && field.name != "LOAD_NUM")
        return std::nullopt;
    switch (field.type) {
    case FieldType::Number: {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.17g", value.asDouble());
        return std::string(buffer);
    }
    case FieldType::Date: {
        if (!value.asDate().valid())
            return std::nullopt;
        int y = 0, m = 0, d = 0;
        value.asDate().toYmd(y, m, d);
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", y, m, d);
        return std::string(buffer);
    }
    case FieldType::Logical:
        return value.asBool() ? "t" : "f";
    default:
        return std::to_string(value.asInt());
    }
}

// A value in the server's binary form.
Value Decode(const FieldDef& field, std::string_view bytes) {
    switch (field.type) {
    case FieldType::Alpha:
        return FromUtf8(bytes);
    case FieldType::Short:
        return static_cast<int32_t>(static_cast<int16_t>(ReadBe(bytes.data(), 2)));
    case FieldType::Long:
        return static_cast<int32_t>(ReadBe(bytes.data(), 4));
    case FieldType::Number:
        return std::bit_cast<double>(ReadBe(bytes.data(), 8));
    case FieldType::Date:
        return Date{static_cast<int32_t>(ReadBe(bytes.data(), 4)) + kPgEpochDays};
    case FieldType::Logical:
        return bytes[0] != 0;
    }
    return Value();
}

// The widths the binary form must have; anything else is a layout this
// program did not make.
size_t BinaryWidth(FieldType type) {
    switch (type) {
    case FieldType::Short:
        return 2;
    case FieldType::Long:
    case FieldType::Date:
        return 4;
    case FieldType::Number:
        return 8;
    case FieldType::Logical:
        return 1;
    case FieldType::Alpha:
        break;
    }
    return 0;
}

Value DecodeChecked(const FieldDef& field, std::string_view bytes) {
    const size_t width = BinaryWidth(field.type);
    if (width != 0 && bytes.size() != width)
        throw BrimloError("The master database's column " + field.name +
                          " does not hold the type this program expects");
    return Decode(field, bytes);
}

// The master fields of a row of a binary result, from column first on.
Record RecordOf(const PgResult& result, int row, int first = 0) {
    const FieldList& fields = MasterFieldList();
    Record record(fields.size());
    for (size_t i = 0; i < fields.size(); ++i) {
        const int column = first + static_cast<int>(i);
        if (!result.isNull(row, column))
            record[i] = DecodeChecked(fields[i], result.value(row, column));
        else if (fields[i].type == FieldType::Alpha)
            record[i] = std::string();
    }
    return record;
}

// Reads the rows of a binary COPY: its signature and header extension once,
// then per row a field count and per field a length (-1 for NULL) and the
// bytes; a count of -1 ends the data. The rows hold ROW_ID first when asked
// to, then the given master fields.
class BinaryCopyReader {
public:
    using Visit = std::function<void(int64_t id, const Record& values)>;

    BinaryCopyReader(std::vector<int> fields, bool withId, Visit visit)
        : fields_(std::move(fields)), withId_(withId), visit_(std::move(visit)) {}

    void operator()(std::string_view data) {
        if (!headerRead_) {
            static constexpr char kSignature[] = "PGCOPY\n\377\r\n";
            if (data.size() < 19 || std::memcmp(data.data(), kSignature, 11) != 0)
                Damaged();
            const size_t extension = ReadBe(data.data() + 15, 4);
            data.remove_prefix(std::min(data.size(), 19 + extension));
            headerRead_ = true;
        }
        while (data.size() >= 2)
            readRow(data);
    }

private:
    [[noreturn]] static void Damaged() {
        throw BrimloError("The master database server sent records this program cannot read");
    }

    std::string_view take(std::string_view& data) {
        if (data.size() < 4)
            Damaged();
        const int32_t length = static_cast<int32_t>(ReadBe(data.data(), 4));
        data.remove_prefix(4);
        if (length < 0)
            return {};
        if (data.size() < static_cast<size_t>(length))
            Damaged();
        const std::string_view bytes = data.substr(0, static_cast<size_t>(length));
        data.remove_prefix(static_cast<size_t>(length));
        return bytes.data() ? bytes : std::string_view("", 0);
    }

    void readRow(std::string_view& data) {
        const int16_t fieldCount = static_cast<int16_t>(ReadBe(data.data(), 2));
        data.remove_prefix(2);
        if (fieldCount == -1)
            return;
        if (static_cast<size_t>(fieldCount) != fields_.size() + (withId_ ? 1 : 0))
            Damaged();
        int64_t id = 0;
        if (withId_) {
            const std::string_view bytes = take(data);
            if (bytes.size() != 8)
                Damaged();
            id = static_cast<int64_t>(ReadBe(bytes.data(), 8));
        }
        const FieldList& all = MasterFieldList();
        record_.assign(fields_.size(), Value());
        for (size_t i = 0; i < fields_.size(); ++i) {
            const FieldDef& field = all.at(static_cast<size_t>(fields_[i]));
            const std::string_view bytes = take(data);
            if (bytes.data())
                record_[i] = DecodeChecked(field, bytes);
            else if (field.type == FieldType::Alpha)
                record_[i] = std::string();
        }
        visit_(id, record_);
    }

    std::vector<int> fields_;
    bool withId_;
    Visit visit_;
    bool headerRead_ = false;
    Record record_;
};

std::vector<int> AllFields() {
    std::vector<int> fields(MasterFieldList().size());
    for (size_t i = 0; i < fields.size(); ++i)
        fields[i] = static_cast<int>(i);
    return fields;
}

std::string UpsertSql() {
    const FieldList& fields = MasterFieldList();
    std::string values;
    std::string updates;
    for (size_t i = 0; i < fields.size(); ++i) {
        values += "$" + std::to_string(i + 1) + ", ";
        updates += fields[i].name + " = EXCLUDED." + fields[i].name + ", ";
    }
    const std::string by = "$" + std::to_string(fields.size() + 1);
    const std::string at = "$" + std::to_string(fields.size() + 2);
    // A post that reaches the server late (from an outbox) does not undo
    // a later post of the same load.
    return "INSERT INTO master (" + PgMasterSchema::Columns() + ", POSTED_BY, POSTED_AT) VALUES (" +
           values + by + ", timestamptz 'epoch' + " + at +
           "::bigint * interval '1 microsecond') ON CONFLICT (MILLCODE, LOAD_NUM, POP) DO UPDATE "
           "SET " +
           updates +
           "POSTED_BY = EXCLUDED.POSTED_BY, POSTED_AT = EXCLUDED.POSTED_AT "
           "WHERE master.POSTED_AT <= EXCLUDED.POSTED_AT";
}

struct KeyParams {
    std::string millCode, loadNum, pop;
    explicit KeyParams(const MasterKey& key)
        : millCode(ToUtf8(key.millCode)), loadNum(std::to_string(key.loadNum)),
          pop(std::to_string(key.pop)) {}
    std::vector<const char*> params() const {
        return {millCode.c_str(), loadNum.c_str(), pop.c_str()};
    }
};

} // namespace

PgMasterStore::PgMasterStore(const std::string& conninfo)
    : connection_(std::make_unique<PgConnection>(conninfo)) {
    PgMasterSchema::Migrate(*connection_);
}

PgMasterStore::~PgMasterStore() = default;

int PgMasterStore::count() {
    return static_cast<int>(connection_->exec("SELECT count(*) FROM master").number(0, 0));
}

std::vector<Record> PgMasterStore::readPage(int first, int count) {
    const std::string offset = std::to_string(std::max(first, 0));
    const std::string limit = std::to_string(std::max(count, 0));
    const PgResult result = connection_->execPrepared(
        "master_page",
        "SELECT " + PgMasterSchema::Columns() + " FROM master ORDER BY ROW_ID OFFSET $1 LIMIT $2",
        {offset.c_str(), limit.c_str()}, true);
    std::vector<Record> records;
    records.reserve(static_cast<size_t>(result.rows()));
    for (int row = 0; row < result.rows(); ++row)
        records.push_back(RecordOf(result, row));
    return records;
}

void PgMasterStore::forEach(const std::function<void(const Record&)>& visit) {
    BinaryCopyReader reader(AllFields(), false,
                            [&](int64_t, const Record& record) { visit(record); });
    connection_->copyOut("COPY (SELECT " + PgMasterSchema::Columns() +
                             " FROM master ORDER BY ROW_ID) TO STDOUT (FORMAT binary)",
                         [&](std::string_view data) { reader(data); });
}

std::optional<Record> PgMasterStore::find(const MasterKey& key) {
    const KeyParams params(key);
    const PgResult result = connection_->execPrepared(
        "master_find",
        "SELECT " + PgMasterSchema::Columns() +
            " FROM master WHERE MILLCODE = $1 AND LOAD_NUM = $2 AND POP = $3",
        params.params(), true);
    if (result.rows() == 0)
        return std::nullopt;
    return RecordOf(result, 0);
}

void PgMasterStore::post(const MasterPost& post) {
    const FieldList& fields = MasterFieldList();
    if (post.values.size() != fields.size())
        throw BrimloError("A master record must have " + std::to_string(fields.size()) + " fields");
    std::vector<std::optional<std::string>> texts;
    texts.reserve(fields.size() + 2);
    for (size_t i = 0; i < fields.size(); ++i)
        texts.push_back(ParamText(fields[i], post.values[i]));
    texts.push_back(ToUtf8(post.postedBy));
    texts.push_back(std::to_string(post.postedAt));
    std::vector<const char*> params;
    params.reserve(texts.size());
    for (const auto& text : texts)
        params.push_back(text ? text->c_str() : nullptr);
    // One statement is one transaction: its acknowledgement is the commit.
    static const std::string sql = UpsertSql();
    connection_->execPrepared("master_post", sql, params);
}

bool PgMasterStore::remove(const MasterKey& key) {
    const KeyParams params(key);
    const PgResult result = connection_->execPrepared(
        "master_remove", "DELETE FROM master WHERE MILLCODE = $1 AND LOAD_NUM = $2 AND POP = $3",
        params.params());
    return result.affected() > 0;
}

std::vector<int64_t> PgMasterStore::rowIds() {
    const PgResult result =
        connection_->exec("SELECT ROW_ID FROM master ORDER BY ROW_ID", {}, true);
    std::vector<int64_t> ids(static_cast<size_t>(result.rows()));
    for (int row = 0; row < result.rows(); ++row)
        ids[static_cast<size_t>(row)] =
            static_cast<int64_t>(ReadBe(result.value(row, 0).data(), 8));
    return ids;
}

std::vector<std::pair<int64_t, Record>> PgMasterStore::readRows(int64_t first, int64_t last) {
    const std::string from = std::to_string(first);
    const std::string to = std::to_string(last);
    const PgResult result =
        connection_->execPrepared("master_rows",
                                  "SELECT ROW_ID, " + PgMasterSchema::Columns() +
                                      " FROM master WHERE ROW_ID BETWEEN $1 AND $2 ORDER BY ROW_ID",
                                  {from.c_str(), to.c_str()}, true);
    std::vector<std::pair<int64_t, Record>> rows;
    rows.reserve(static_cast<size_t>(result.rows()));
    for (int row = 0; row < result.rows(); ++row)
        rows.emplace_back(static_cast<int64_t>(ReadBe(result.value(row, 0).data(), 8)),
                          RecordOf(result, row, 1));
    return rows;
}

void PgMasterStore::forEachFields(
    const std::vector<int>& fields, int64_t last,
    const std::function<void(int64_t id, const Record& values)>& visit) {
    const FieldList& all = MasterFieldList();
    std::string columns = "ROW_ID";
    for (int field : fields)
        columns += ", " + all.at(static_cast<size_t>(field)).name;
    BinaryCopyReader reader(fields, true, visit);
    connection_->copyOut("COPY (SELECT " + columns + " FROM master WHERE ROW_ID <= " +
                             std::to_string(last) + " ORDER BY ROW_ID) TO STDOUT (FORMAT binary)",
                         [&](std::string_view data) { reader(data); });
}

bool PgMasterStore::removeRow(int64_t id) {
    const std::string text = std::to_string(id);
    const PgResult result = connection_->execPrepared(
        "master_remove_row", "DELETE FROM master WHERE ROW_ID = $1", {text.c_str()});
    return result.affected() > 0;
}

std::vector<int64_t> PgMasterStore::rowIdsOf(const MasterKey& key) {
    const KeyParams params(key);
    const PgResult result = connection_->execPrepared(
        "master_row_of",
        "SELECT ROW_ID FROM master WHERE MILLCODE = $1 AND LOAD_NUM = $2 AND POP = $3",
        params.params(), true);
    std::vector<int64_t> ids;
    for (int row = 0; row < result.rows(); ++row)
        ids.push_back(static_cast<int64_t>(ReadBe(result.value(row, 0).data(), 8)));
    return ids;
}

} // namespace brimlo
