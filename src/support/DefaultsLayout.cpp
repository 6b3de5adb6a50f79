#include "support/DefaultsLayout.h"

namespace brimlo {

const FieldList& DefaultsFields() {
    using T = FieldType;
    static const FieldList fields = {
        {"SPECIES", T::Alpha, 2},
        {"CONDCODE", T::Alpha, 2},
        {"PRODCODE", T::Alpha, 2},
        {"TOPD", T::Short, 0},
        {"LENGTH", T::Short, 0},
        {"CULLMETHTYPE1", T::Alpha, 1},
        {"CULLMETHTYPE2", T::Alpha, 1},
        {"CULLMETHTYPE3", T::Alpha, 1},
        {"CULLMETHTYPE4", T::Alpha, 1},
        {"CULLMETHTYPE5", T::Alpha, 1},
        {"CULLMETHTYPE6", T::Alpha, 1},
        {"CULLMETHTYPE7", T::Alpha, 1},
        {"LESSEE", T::Alpha, 20},
        {"MILL_NAME", T::Alpha, 20},
        {"DISP", T::Alpha, 10},
        {"SUBDISP", T::Alpha, 4},
        {"SOURCE", T::Alpha, 20},
        {"MILL_NUM", T::Long, 0},
        {"BLOCK_NUM", T::Alpha, 4},
        {"LOAD_NUM", T::Long, 0},
        {"ID", T::Long, 0},
        {"DATEWEIGHED", T::Date, 0},
        {"POP", T::Long, 0},
        {"HTOPD", T::Short, 0},
        {"NETWEIGHT", T::Long, 0},
        {"TM9", T::Alpha, 10},
        {"HSPECIES", T::Alpha, 2},
        {"HCONDCODE", T::Alpha, 2},
        {"HPRODCODE", T::Alpha, 2},
        {"MILL_CODE", T::Alpha, 2},
        {"TREES", T::Long, 0},
        {"SAWLOGS", T::Alpha, 1},
        {"VOL_CALC_METH", T::Alpha, 1},
        {"DEFAULT_DATA_PATH", T::Alpha, 255},
        {"SCALER_NAME", T::Alpha, 20},
        {"SCALER_PERMIT", T::Alpha, 6},
        {"TRIM_ALLOWANCE", T::Alpha, 1},
    };
    return fields;
}

} // namespace brimlo
