#pragma once

#include "support/Value.h"

#include <cstdint>
#include <string>

namespace brimlo {

// The header record of a load as plain values, one member per field of the
// header table in table order. Texts hold Windows-1252 bytes exactly as the
// field holds them (a load file gives them with their trailing blanks).
struct HeaderRecord {
    std::string LESSEE;
    std::string MILL_NAME;
    std::string DISP;
    std::string SUBDISP;
    int32_t MILL_NUM = 0;
    std::string BLOCK_NUM;
    int32_t LOAD_NUM = 0;
    int16_t POP = 0;
    int16_t HTOPD = 0;
    double NETWEIGHT = 0.0; // kilograms
    std::string TM9;
    std::string HSPECIES;
    std::string HCONDCODE;
    std::string HPRODCODE;
    std::string SOURCE;
    std::string MILL_CODE;
    int16_t LOAD_ID = 0;
    int16_t TREES = 0;
    std::string SAWLOGS;
    Date DATEWEIGHED;
    std::string VOL_CALC_METH = "S";
    std::string SCALER_NAME;
    std::string SCALER_PERMIT;
    // The table's last field, TRIM_ALLOWANCE, has no member: the load's trim
    // allowance mode is the window's (LoadFlags::TrimAllowance) and travels
    // in LoadData::trimAllowance.

    bool operator==(const HeaderRecord&) const = default;
};

} // namespace brimlo
