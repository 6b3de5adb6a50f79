#pragma once

#include <cstdint>
#include <string>

namespace brimlo {

// One log record as plain values, one member per field of the log table in
// table order. Volumes are litres held as doubles, always whole numbers.
struct LogRecord {
    int32_t LOGNUM = 0;
    std::string SPECIES;
    std::string CONDCODE;
    std::string PRODCODE;
    int16_t TOPD = 0;   // cm
    int16_t LENGTH = 0; // dm
    int16_t C1 = 0;
    int16_t C2 = 0;
    int16_t C3 = 0;
    std::string CULL_TYPE;
    std::string CULL_METH;
    double GROSSVOL = 0.0; // litres
    double CULLVOL = 0.0;  // litres
    int16_t BUTTD = 0;     // cm
    std::string FLAG;
    int16_t LOAD_ID = 0;
    int16_t DBH = 0;
    std::string PROD_OVERRIDE;
    int16_t ACT_LENGTH = 0; // cm
    // False when the field holds no value (a load file line too short to
    // carry the actual length); it still reads and writes as 0.
    bool hasActLength = true;
    // False when the field holds no value (blank in the load file, or never
    // keyed): it is shown blank and, as every empty number, written as 0.
    bool hasLoadId = true;
    bool hasDbh = true;

    bool operator==(const LogRecord&) const = default;
};

} // namespace brimlo
