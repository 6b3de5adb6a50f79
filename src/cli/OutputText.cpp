#include "cli/OutputText.h"

#include "support/Cp1252.h"

#include <charconv>
#include <cstdio>

namespace brimlo::cli {

namespace {

bool IsAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

std::string_view WithoutTrailingBlanks(std::string_view text) {
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

void AppendNumber(std::string& out, double value) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, error == std::errc() ? end : buffer);
}

} // namespace

std::string Utf8Text(const std::string& cp1252) {
    const std::string_view text = WithoutTrailingBlanks(cp1252);
    return IsAscii(text) ? std::string(text) : FromCp1252(std::string(text)).toStdString();
}

std::string NumberText(double value) {
    std::string text;
    AppendNumber(text, value);
    return text.empty() ? "0" : text;
}

std::string IsoDate(Date date) {
    if (!date.valid())
        return {};
    int year = 0, month = 0, day = 0;
    date.toYmd(year, month, day);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", year, month, day);
    return buffer;
}

std::string ValueText(const Value& value, FieldType type) {
    switch (type) {
    case FieldType::Alpha:
        return Utf8Text(value.asString());
    case FieldType::Short:
    case FieldType::Long:
        return std::to_string(value.asInt());
    case FieldType::Number:
        return NumberText(value.asDouble());
    case FieldType::Date:
        return IsoDate(value.asDate());
    case FieldType::Logical:
        return value.asBool() ? "true" : "false";
    }
    return {};
}

void AppendCsvField(std::string& out, std::string_view utf8) {
    if (utf8.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += utf8;
        return;
    }
    out += '"';
    for (const char c : utf8) {
        out += c;
        if (c == '"')
            out += '"';
    }
    out += '"';
}

void AppendCsvValue(std::string& out, const Value& value, FieldType type) {
    switch (type) {
    case FieldType::Alpha: {
        const std::string text = value.asString();
        const std::string_view trimmed = WithoutTrailingBlanks(text);
        AppendCsvField(out, IsAscii(trimmed) ? trimmed : std::string_view(Utf8Text(text)));
        return;
    }
    case FieldType::Short:
    case FieldType::Long: {
        char buffer[16];
        const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value.asInt());
        out.append(buffer, error == std::errc() ? end : buffer);
        return;
    }
    case FieldType::Number:
        AppendNumber(out, value.asDouble());
        return;
    default:
        out += ValueText(value, type);
    }
}

std::string JsonString(const std::string& utf8) {
    std::string json = "\"";
    for (const char c : utf8) {
        switch (c) {
        case '"':
            json += "\\\"";
            break;
        case '\\':
            json += "\\\\";
            break;
        case '\n':
            json += "\\n";
            break;
        case '\r':
            json += "\\r";
            break;
        case '\t':
            json += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                json += escape;
            } else {
                json += c;
            }
        }
    }
    return json + '"';
}

JsonObject& JsonObject::raw(const std::string& name, const std::string& json) {
    if (text_.size() > 1)
        text_ += ',';
    text_ += JsonString(name) + ':' + json;
    return *this;
}

JsonObject& JsonObject::text(const std::string& name, const std::string& cp1252) {
    return raw(name, JsonString(Utf8Text(cp1252)));
}

JsonObject& JsonObject::number(const std::string& name, double value) {
    return raw(name, NumberText(value));
}

JsonObject& JsonObject::integer(const std::string& name, int64_t value) {
    return raw(name, std::to_string(value));
}

JsonObject& JsonObject::boolean(const std::string& name, bool value) {
    return raw(name, value ? "true" : "false");
}

std::string JsonArray(const std::vector<std::string>& items) {
    std::string json = "[";
    for (std::size_t i = 0; i < items.size(); ++i)
        json += (i ? "," : "") + items[i];
    return json + ']';
}

} // namespace brimlo::cli
