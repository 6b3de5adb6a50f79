#include "support/FieldValue.h"

#include "support/BrimloError.h"
#include "support/DovraneGeneric.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace brimlo {

namespace {

bool HoldsText(const Value& v) {
    // Value keeps its alternative private; only a text equals its own text
    // form, since equality also compares the kind.
    return !v.isNull() && v == Value(v.asString());
}

std::string RangeText(double value, const FieldDef& field, double low, double high) {
    char buf[200];
    std::snprintf(buf, sizeof buf,
                  "%g is not a valid value for field '%s'. The allowed range is %g to %g", value,
                  field.name.c_str(), low, high);
    return buf;
}

Value WholeNumber(const FieldDef& field, double number) {
    const double low = field.type == FieldType::Short ? -32768.0 : -2147483648.0;
    const double high = field.type == FieldType::Short ? 32767.0 : 2147483647.0;
    // Halves go to the even neighbour, as the engine has always stored a
    // floating value in a whole-number field.
    const double rounded = std::nearbyint(number);
    if (!(rounded >= low && rounded <= high))
        throw BrimloError(RangeText(number, field, low, high));
    return Value(static_cast<int32_t>(rounded));
}

Value IntegerFromText(const FieldDef& field, const std::string& raw) {
    const std::string text = Trimmed(raw);
    if (text.empty())
        return Value();
    char* end = nullptr;
    errno = 0;
    const long long n = std::strtoll(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE)
        throw BrimloError("'" + raw + "' is not a valid integer value");
    return WholeNumber(field, static_cast<double>(n));
}

Value NumberFromText(const std::string& raw) {
    const std::string text = Trimmed(raw);
    if (text.empty())
        return Value();
    char* end = nullptr;
    const double d = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(d))
        throw BrimloError("'" + raw + "' is not a valid floating point value");
    return Value(d);
}

Value DateFromText(const std::string& raw) {
    const std::string text = Trimmed(raw);
    if (text.empty())
        return Value();
    int y = 0, m = 0, d = 0;
    char s1 = 0, s2 = 0;
    int used = 0;
    const bool parsed = std::sscanf(text.c_str(), "%d%c%d%c%d%n", &y, &s1, &m, &s2, &d, &used) == 5;
    const Date date =
        parsed && used == static_cast<int>(text.size()) && s1 == s2 && (s1 == '/' || s1 == '-')
            ? Date::fromYmd(y, m, d)
            : Date{};
    if (!date.valid())
        throw BrimloError("'" + raw + "' is not a valid date");
    return Value(date);
}

bool IsPrefixOf(const std::string& text, const char* word) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (word[i] == '\0' || std::tolower(static_cast<unsigned char>(text[i])) !=
                                   static_cast<unsigned char>(word[i]))
            return false;
    }
    return true;
}

Value LogicalFromText(const FieldDef& field, const std::string& raw) {
    const std::string text = Trimmed(raw);
    if (text.empty())
        return Value();
    if (IsPrefixOf(text, "true"))
        return Value(true);
    if (IsPrefixOf(text, "false"))
        return Value(false);
    throw BrimloError("'" + raw + "' is not a valid boolean value for field '" + field.name + "'");
}

Value ToAlpha(const FieldDef& field, const Value& v) {
    std::string text = v.asString();
    if (field.size > 0 && text.size() > static_cast<size_t>(field.size))
        text.resize(static_cast<size_t>(field.size));
    return text.empty() ? Value() : Value(std::move(text));
}

Value ToDate(const Value& v) {
    if (HoldsText(v))
        return DateFromText(v.asString());
    const Date d = v.asDate().valid() ? v.asDate() : Date{static_cast<int32_t>(v.asDouble())};
    return d.valid() ? Value(d) : Value();
}

} // namespace

Value CoerceToField(const FieldDef& field, const Value& v) {
    if (v.isNull())
        return Value();
    const bool text = HoldsText(v);
    switch (field.type) {
    case FieldType::Alpha:
        return ToAlpha(field, v);
    case FieldType::Short:
    case FieldType::Long:
        return text ? IntegerFromText(field, v.asString()) : WholeNumber(field, v.asDouble());
    case FieldType::Number:
        return text ? NumberFromText(v.asString()) : Value(v.asDouble());
    case FieldType::Date:
        return ToDate(v);
    case FieldType::Logical:
        return text ? LogicalFromText(field, v.asString()) : Value(v.asBool());
    }
    return Value();
}

int CompareFieldValues(FieldType type, const Value& a, const Value& b) {
    if (a.isNull() || b.isNull())
        return (a.isNull() ? 0 : 1) - (b.isNull() ? 0 : 1);
    switch (type) {
    case FieldType::Alpha: {
        const int c = a.asString().compare(b.asString());
        return (c > 0) - (c < 0);
    }
    case FieldType::Date:
        return (a.asDate().days > b.asDate().days) - (a.asDate().days < b.asDate().days);
    case FieldType::Logical:
        return static_cast<int>(a.asBool()) - static_cast<int>(b.asBool());
    default:
        return (a.asDouble() > b.asDouble()) - (a.asDouble() < b.asDouble());
    }
}

} // namespace brimlo
