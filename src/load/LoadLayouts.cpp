#include "load/LoadLayouts.h"

namespace brimlo {

const FieldList& HeaderFields() {
    using T = FieldType;
    static const FieldList fields = {
        {"LESSEE", T::Alpha, 20},       {"MILL_NAME", T::Alpha, 20},
        {"DISP", T::Alpha, 10},         {"SUBDISP", T::Alpha, 4},
        {"MILL_NUM", T::Long, 0},       {"BLOCK_NUM", T::Alpha, 4},
        {"LOAD_NUM", T::Long, 0},       {"POP", T::Short, 0},
        {"HTOPD", T::Short, 0},         {"NETWEIGHT", T::Number, 0},
        {"TM9", T::Alpha, 10},          {"HSPECIES", T::Alpha, 2},
        {"HCONDCODE", T::Alpha, 2},     {"HPRODCODE", T::Alpha, 2},
        {"SOURCE", T::Alpha, 20},       {"MILL_CODE", T::Alpha, 2},
        {"LOAD_ID", T::Short, 0},       {"TREES", T::Short, 0},
        {"SAWLOGS", T::Alpha, 1},       {"DATEWEIGHED", T::Date, 0},
        {"VOL_CALC_METH", T::Alpha, 1}, {"SCALER_NAME", T::Alpha, 20},
        {"SCALER_PERMIT", T::Alpha, 6}, {"TRIM_ALLOWANCE", T::Logical, 0},
    };
    return fields;
}

const FieldList& LogFields() {
    using T = FieldType;
    static const FieldList fields = {
        {"LOGNUM", T::Long, 0},      {"SPECIES", T::Alpha, 2},   {"CONDCODE", T::Alpha, 2},
        {"PRODCODE", T::Alpha, 2},   {"TOPD", T::Short, 0},      {"LENGTH", T::Short, 0},
        {"C1", T::Short, 0},         {"C2", T::Short, 0},        {"C3", T::Short, 0},
        {"CULL_TYPE", T::Alpha, 1},  {"CULL_METH", T::Alpha, 1}, {"GROSSVOL", T::Number, 0},
        {"CULLVOL", T::Number, 0},   {"BUTTD", T::Short, 0},     {"FLAG", T::Alpha, 1},
        {"LOAD_ID", T::Short, 0},    {"DBH", T::Short, 0},       {"PROD_OVERRIDE", T::Alpha, 1},
        {"ACT_LENGTH", T::Short, 0},
    };
    return fields;
}

} // namespace brimlo
