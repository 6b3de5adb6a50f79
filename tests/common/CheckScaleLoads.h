#pragma once

#include "load/LoadData.h"

#include <string>

namespace brimlo::testing {

// The load every check scale example starts from, scaled by Smalian's
// formula (volumes worked out by hand from the rules):
//   log 1  S GR 01  butt 30, top 20, length 50, no cull          256 l gross
//   log 2  S GR 01  butt 24, top 20, length 40, cull type 1,
//                   percent reduction 10 %: 15 l cull            153 l gross
//   log 3  F GR 02  butt 10, top 8, length 30, no cull            20 l gross
// Group "S  GR 01": 409 gross, 15 cull, 394 net; load: 429, 15, 414.
inline LogRecord CheckScaleLog(int number, const std::string& species, const std::string& product,
                               int16_t butt, int16_t top, int16_t length) {
    LogRecord log;
    log.LOGNUM = number;
    log.SPECIES = species;
    log.CONDCODE = "GR";
    log.PRODCODE = product;
    log.BUTTD = butt;
    log.TOPD = top;
    log.LENGTH = length;
    log.PROD_OVERRIDE = "N";
    return log;
}

inline LoadData CheckScaleBaseLoad() {
    LoadData load;
    load.header.HSPECIES = "S";
    load.header.HCONDCODE = "GR";
    load.header.HPRODCODE = "01";
    load.header.LOAD_NUM = 77;
    load.header.MILL_CODE = "AB";
    load.header.SAWLOGS = "N";
    load.header.DATEWEIGHED = Date::fromYmd(2026, 3, 4);
    load.header.VOL_CALC_METH = "S";
    load.logs = {CheckScaleLog(1, "S", "01", 30, 20, 50), CheckScaleLog(2, "S", "01", 24, 20, 40),
                 CheckScaleLog(3, "F", "02", 10, 8, 30)};
    LogRecord& culled = load.logs[1];
    culled.CULL_TYPE = "1";
    culled.CULL_METH = "3";
    culled.C1 = 10;
    // Stored volumes as the program keeps them; the comparison recomputes.
    load.logs[0].GROSSVOL = 256;
    culled.GROSSVOL = 153;
    culled.CULLVOL = 15;
    load.logs[2].GROSSVOL = 20;
    return load;
}

// The check scaler measured log 1's top diameter as 22 (gross 272 l).
inline LoadData CheckScaleWiderTop() {
    LoadData load = CheckScaleBaseLoad();
    load.logs[0].TOPD = 22;
    return load;
}

} // namespace brimlo::testing
