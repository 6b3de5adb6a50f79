#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace brimlo {

// A date as the Paradox format counts it: days since 1 January of year 1,
// that day being 1. 0 is no date.
struct Date {
    int32_t days = 0;

    static Date fromYmd(int year, int month, int day);
    void toYmd(int& year, int& month, int& day) const;
    bool valid() const { return days > 0; }
    bool operator==(const Date&) const = default;
};

// One field's value. A null reads as "" or 0, as the table engine promises.
class Value {
public:
    Value() = default;
    Value(const char* text) : v_(std::string(text)) {}
    Value(std::string text) : v_(std::move(text)) {}
    Value(int32_t number) : v_(number) {}
    Value(double number) : v_(number) {}
    Value(Date date) : v_(date) {}
    Value(bool flag) : v_(flag) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(v_); }
    std::string asString() const;
    int32_t asInt() const; // numbers round to nearest; null and texts that are no number give 0
    double asDouble() const;
    Date asDate() const;
    bool asBool() const;

    bool operator==(const Value&) const = default;

private:
    std::variant<std::monostate, std::string, int32_t, double, Date, bool> v_;
};

using Record = std::vector<Value>;

} // namespace brimlo
