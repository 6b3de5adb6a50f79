#pragma once

#include <cstdint>
#include <string>

namespace brimlo {

// The values of one log record the scaling rules read. Codes are held as
// the record returns them; a one-character code field that is empty is
// passed as a blank.
struct LogMeasures {
    std::string species;
    int32_t topd = 0;   // cm
    int32_t buttd = 0;  // cm
    int32_t length = 0; // dm
    int32_t c1 = 0;
    int32_t c2 = 0;
    int32_t c3 = 0;
    int32_t grossvol = 0; // litres
    char cullType = ' ';
    char cullMethod = ' ';
    std::string prodcode;
    std::string prodOverride = "N";
};

} // namespace brimlo
