#pragma once

#include "load/LoadData.h"

namespace brimlo::testing {

// The header of the worked example: load 123 of mill AB, weighed on
// 16 December 2006, 25 000 kg, spruce GR 01, scaled by Smalian's formula.
// Tests change the fields their case is about.
inline HeaderRecord SampleHeader() {
    HeaderRecord h;
    h.LESSEE = "LESSEE CO";
    h.MILL_NAME = "NORTH MILL";
    h.DISP = "CTL";
    h.SUBDISP = "A1";
    h.MILL_NUM = 123456;
    h.BLOCK_NUM = "12";
    h.LOAD_NUM = 123;
    h.POP = 1;
    h.HTOPD = 16;
    h.NETWEIGHT = 25000.0;
    h.TM9 = "TM9-77";
    h.HSPECIES = "S";
    h.HCONDCODE = "GR";
    h.HPRODCODE = "01";
    h.SOURCE = "CREEK";
    h.MILL_CODE = "AB";
    h.TREES = 5;
    h.SAWLOGS = "N";
    h.DATEWEIGHED = Date::fromYmd(2006, 12, 16);
    h.VOL_CALC_METH = "S";
    return h;
}

} // namespace brimlo::testing
