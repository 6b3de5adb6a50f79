#pragma once

#include "support/FieldDef.h"
#include "support/Value.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brimlo::cli {

// Texts of our files and tables are Windows-1252; what the tool writes for
// other programs is UTF-8. Trailing blanks of fixed-width fields are
// padding, not data, and are dropped.
std::string Utf8Text(const std::string& cp1252);

// The shortest text that reads back as the same double ("0.448").
std::string NumberText(double value);
// "2006-12-16"; empty for no date.
std::string IsoDate(Date date);
// A field's value as text: numbers, ISO dates, UTF-8 texts.
std::string ValueText(const Value& value, FieldType type);

// RFC 4180: quoted when it holds a comma, a quote or a line break.
void AppendCsvField(std::string& out, std::string_view utf8);
// A field's value as ValueText gives it, as a CSV field.
void AppendCsvValue(std::string& out, const Value& value, FieldType type);

// A JSON string literal of a UTF-8 text.
std::string JsonString(const std::string& utf8);

// One JSON object, built field by field in the order given.
class JsonObject {
public:
    JsonObject& raw(const std::string& name, const std::string& json);
    JsonObject& text(const std::string& name, const std::string& cp1252);
    JsonObject& number(const std::string& name, double value);
    JsonObject& integer(const std::string& name, int64_t value);
    JsonObject& boolean(const std::string& name, bool value);
    std::string str() const { return text_ + "}"; }

private:
    std::string text_ = "{";
};

// "[a,b,c]" of items already in JSON.
std::string JsonArray(const std::vector<std::string>& items);

} // namespace brimlo::cli
