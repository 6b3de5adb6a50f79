#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brimlo {

// Field types of the table engine: Paradox alpha (size characters), short
// (16-bit), long (32-bit), number (double), date and logical.
enum class FieldType { Alpha, Short, Long, Number, Date, Logical };

struct FieldDef {
    std::string name;
    FieldType type;
    int size = 0; // characters, for Alpha only

    bool operator==(const FieldDef&) const = default;
};

using FieldList = std::vector<FieldDef>;

} // namespace brimlo
