#pragma once

#include "support/Value.h"

#include <cstdint>
#include <string>

namespace brimlo {

// What identifies a master record: the mill code, load number and
// population of its load. Mill codes compare exactly (case-sensitive).
struct MasterKey {
    std::string millCode;
    int32_t loadNum = 0;
    int16_t pop = 0;

    bool operator==(const MasterKey&) const = default;

    // The key of a master record (fields in table order).
    static MasterKey Of(const Record& record);
};

} // namespace brimlo
