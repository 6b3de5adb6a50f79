#pragma once

#include "support/FieldDef.h"
#include "support/Value.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>

namespace brimlo {

// The member of a plain record that holds one field of its table; none for
// a field that is part of the table layout only.
template <class Record>
using FieldMember = std::variant<std::monostate, std::string Record::*, int32_t Record::*,
                                 int16_t Record::*, double Record::*, Date Record::*>;

// One field of a record type: its place in the table (the enumerator), its
// name, type and size as the table declares it, and the record member that
// holds it. A number that may hold no value names the flag saying so.
template <class Field, class Record> struct FieldDescriptor {
    Field field;
    const char* name;
    FieldType type;
    int size; // characters, for Alpha only
    FieldMember<Record> member;
    bool Record::*present = nullptr;
};

// Whether the member's C++ type holds what the field's type stores: texts
// in strings, each number in its own width, dates in Date, and a logical
// field in no member at all.
template <class Field, class Record>
constexpr bool MemberFitsType(const FieldDescriptor<Field, Record>& d) {
    switch (d.type) {
    case FieldType::Alpha:
        return std::holds_alternative<std::string Record::*>(d.member);
    case FieldType::Short:
        return std::holds_alternative<int16_t Record::*>(d.member);
    case FieldType::Long:
        return std::holds_alternative<int32_t Record::*>(d.member);
    case FieldType::Number:
        return std::holds_alternative<double Record::*>(d.member);
    case FieldType::Date:
        return std::holds_alternative<Date Record::*>(d.member);
    case FieldType::Logical:
        return std::holds_alternative<std::monostate>(d.member);
    }
    return false;
}

// A descriptor table is sound when every entry sits at its enumerator's
// place and its member fits its type: then an enumerator indexes the table.
template <class Field, class Record, std::size_t N>
constexpr bool DescriptorsInOrder(const std::array<FieldDescriptor<Field, Record>, N>& table) {
    for (std::size_t i = 0; i < N; ++i)
        if (static_cast<std::size_t>(table[i].field) != i || !MemberFitsType(table[i]) ||
            (table[i].present != nullptr && table[i].type != FieldType::Short))
            return false;
    return true;
}

// The table layout the descriptors declare, in table order.
template <class Field, class Record, std::size_t N>
FieldList LayoutOf(const std::array<FieldDescriptor<Field, Record>, N>& table) {
    FieldList fields;
    fields.reserve(N);
    for (const auto& d : table)
        fields.push_back({d.name, d.type, d.size});
    return fields;
}

} // namespace brimlo
