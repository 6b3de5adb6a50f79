#include "support/Value.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace brimlo {

namespace {

bool isLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

// Days before 1 January of year y, counting from 1 January of year 1.
int32_t daysBeforeYear(int y) {
    const int32_t p = y - 1;
    return p * 365 + p / 4 - p / 100 + p / 400;
}

} // namespace

Date Date::fromYmd(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > daysInMonth(year, month))
        return Date{};
    int32_t n = daysBeforeYear(year);
    for (int m = 1; m < month; ++m)
        n += daysInMonth(year, m);
    return Date{n + day};
}

void Date::toYmd(int& year, int& month, int& day) const {
    year = month = day = 0;
    if (days <= 0)
        return;
    int y = static_cast<int>(days / 365.2425) + 1;
    while (daysBeforeYear(y) >= days)
        --y;
    while (daysBeforeYear(y + 1) < days)
        ++y;
    int32_t rest = days - daysBeforeYear(y);
    int m = 1;
    while (rest > daysInMonth(y, m)) {
        rest -= daysInMonth(y, m);
        ++m;
    }
    year = y;
    month = m;
    day = static_cast<int>(rest);
}

std::string Value::asString() const {
    if (auto s = std::get_if<std::string>(&v_))
        return *s;
    if (auto i = std::get_if<int32_t>(&v_))
        return std::to_string(*i);
    if (auto d = std::get_if<double>(&v_)) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.15g", *d);
        return buf;
    }
    if (auto dt = std::get_if<Date>(&v_)) {
        int y, m, d;
        dt->toYmd(y, m, d);
        if (!dt->valid())
            return {};
        char buf[16];
        std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", y, m, d);
        return buf;
    }
    if (auto b = std::get_if<bool>(&v_))
        return *b ? "True" : "False";
    return {};
}

int32_t Value::asInt() const {
    if (auto i = std::get_if<int32_t>(&v_))
        return *i;
    if (auto d = std::get_if<double>(&v_))
        return static_cast<int32_t>(std::lround(*d));
    if (auto s = std::get_if<std::string>(&v_)) {
        char* end = nullptr;
        long n = std::strtol(s->c_str(), &end, 10);
        return end && *end == '\0' ? static_cast<int32_t>(n) : 0;
    }
    if (auto dt = std::get_if<Date>(&v_))
        return dt->days;
    if (auto b = std::get_if<bool>(&v_))
        return *b ? 1 : 0;
    return 0;
}

double Value::asDouble() const {
    if (auto d = std::get_if<double>(&v_))
        return *d;
    if (auto i = std::get_if<int32_t>(&v_))
        return *i;
    if (auto s = std::get_if<std::string>(&v_))
        return std::strtod(s->c_str(), nullptr);
    if (auto dt = std::get_if<Date>(&v_))
        return dt->days;
    if (auto b = std::get_if<bool>(&v_))
        return *b ? 1 : 0;
    return 0;
}

Date Value::asDate() const {
    if (auto dt = std::get_if<Date>(&v_))
        return *dt;
    return Date{};
}

bool Value::asBool() const {
    if (auto b = std::get_if<bool>(&v_))
        return *b;
    return asInt() != 0;
}

} // namespace brimlo
