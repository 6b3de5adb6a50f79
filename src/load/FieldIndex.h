#pragma once

#include "load/LoadLayouts.h"
#include "support/BrimloError.h"
#include "support/FieldDef.h"

#include <array>
#include <cstddef>
#include <string>

namespace brimlo {

// Where each field of a record type sits in one open table, resolved from
// the table's layout once, so that reading and writing a field is an array
// look-up rather than a search by name. A table of another layout may lack
// a field: reading it gives no value, writing it raises.
template <class Field> class FieldIndex {
public:
    static constexpr std::size_t kCount = DescriptorsOf(Field{}).size();

    FieldIndex() { at_.fill(-1); }
    explicit FieldIndex(const FieldList& fields) {
        at_.fill(-1);
        for (std::size_t i = 0; i < kCount; ++i)
            for (std::size_t j = 0; j < fields.size(); ++j)
                if (fields[j].name == DescriptorsOf(Field{})[i].name) {
                    at_[i] = static_cast<int>(j);
                    break;
                }
    }

    // The field's position in the table, or -1 when it has none.
    int find(Field f) const { return at_[static_cast<std::size_t>(f)]; }
    // The same, raising when the table has no such field.
    int at(Field f) const {
        const int index = find(f);
        if (index < 0)
            throw BrimloError("Field '" + std::string(FieldName(f)) + "' not found");
        return index;
    }

private:
    std::array<int, kCount> at_;
};

using HeaderFieldIndex = FieldIndex<HeaderField>;
using LogFieldIndex = FieldIndex<LogField>;

} // namespace brimlo
