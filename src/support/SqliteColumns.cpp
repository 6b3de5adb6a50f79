#include "support/SqliteColumns.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <sqlite3.h>

namespace brimlo {

namespace {

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string TypeName(const FieldDef& field) {
    switch (field.type) {
    case FieldType::Alpha:
        return "VARCHAR(" + std::to_string(field.size) + ")";
    case FieldType::Short:
        return "SMALLINT";
    case FieldType::Long:
        return "INTEGER";
    case FieldType::Number:
        return "FLOAT";
    case FieldType::Date:
        return "DATE";
    case FieldType::Logical:
        return "BOOLEAN";
    }
    return "BLOB";
}

// The n of "VARCHAR(n)", or 0 when the declaration is not of that form.
int AlphaSize(const std::string& declared) {
    static const std::string head = "VARCHAR(";
    if (declared.size() < head.size() + 2 || declared.compare(0, head.size(), head) != 0 ||
        declared.back() != ')')
        return 0;
    const char* first = declared.data() + head.size();
    const char* last = declared.data() + declared.size() - 1;
    int size = 0;
    const auto [end, error] = std::from_chars(first, last, size);
    return error == std::errc() && end == last ? size : 0;
}

std::string IsoDate(Date date) {
    int year = 0, month = 0, day = 0;
    date.toYmd(year, month, day);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

Value DateFromIso(const unsigned char* text, int size) {
    int year = 0, month = 0, day = 0;
    const std::string iso(reinterpret_cast<const char*>(text), static_cast<size_t>(size));
    char end = 0;
    if (iso.size() != 10 ||
        std::sscanf(iso.c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &end) != 3)
        return Value();
    const Date date = Date::fromYmd(year, month, day);
    return date.valid() ? Value(date) : Value();
}

Value ReadDate(sqlite3_stmt* statement, int column) {
    if (sqlite3_column_type(statement, column) == SQLITE_INTEGER)
        return Value(Date{static_cast<int32_t>(sqlite3_column_int64(statement, column))});
    const unsigned char* text = sqlite3_column_text(statement, column);
    return text ? DateFromIso(text, sqlite3_column_bytes(statement, column)) : Value();
}

} // namespace

std::string QuotedName(const std::string& name) {
    std::string quoted = "\"";
    for (char c : name) {
        quoted += c;
        if (c == '"')
            quoted += c;
    }
    return quoted + "\"";
}

std::string ColumnDeclaration(const FieldDef& field) {
    return QuotedName(field.name) + " " + TypeName(field);
}

std::optional<FieldDef> FieldOfColumn(const std::string& name, const std::string& declared) {
    const std::string type = Upper(declared);
    FieldDef field{name, FieldType::Alpha, 0};
    if (const int size = AlphaSize(type); size > 0)
        field.size = size;
    else if (type == "SMALLINT")
        field.type = FieldType::Short;
    else if (type == "INTEGER")
        field.type = FieldType::Long;
    else if (type == "FLOAT")
        field.type = FieldType::Number;
    else if (type == "DATE")
        field.type = FieldType::Date;
    else if (type == "BOOLEAN")
        field.type = FieldType::Logical;
    else
        return std::nullopt;
    return field;
}

Value ReadColumn(sqlite3_stmt* statement, int column, FieldType type) {
    if (sqlite3_column_type(statement, column) == SQLITE_NULL)
        return Value();
    switch (type) {
    case FieldType::Alpha: {
        // the stored bytes as they are, whether kept as text or as a blob
        const void* bytes = sqlite3_column_blob(statement, column);
        const int size = sqlite3_column_bytes(statement, column);
        return Value(std::string(static_cast<const char*>(bytes), static_cast<size_t>(size)));
    }
    case FieldType::Short:
    case FieldType::Long:
        return Value(static_cast<int32_t>(sqlite3_column_int64(statement, column)));
    case FieldType::Number:
        return Value(sqlite3_column_double(statement, column));
    case FieldType::Date:
        return ReadDate(statement, column);
    case FieldType::Logical:
        return Value(sqlite3_column_int64(statement, column) != 0);
    }
    return Value();
}

int BindValue(sqlite3_stmt* statement, int slot, FieldType type, const Value& v) {
    if (v.isNull())
        return sqlite3_bind_null(statement, slot);
    switch (type) {
    case FieldType::Alpha: {
        const std::string text = v.asString();
        return sqlite3_bind_text(statement, slot, text.data(), static_cast<int>(text.size()),
                                 SQLITE_TRANSIENT);
    }
    case FieldType::Short:
    case FieldType::Long:
        return sqlite3_bind_int(statement, slot, v.asInt());
    case FieldType::Number:
        return sqlite3_bind_double(statement, slot, v.asDouble());
    case FieldType::Date: {
        const Date d = v.asDate();
        return d.valid()
                   ? sqlite3_bind_text(statement, slot, IsoDate(d).c_str(), -1, SQLITE_TRANSIENT)
                   : sqlite3_bind_null(statement, slot);
    }
    case FieldType::Logical:
        return sqlite3_bind_int(statement, slot, v.asBool() ? 1 : 0);
    }
    return sqlite3_bind_null(statement, slot);
}

} // namespace brimlo
