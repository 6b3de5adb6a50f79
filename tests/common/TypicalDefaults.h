#pragma once

#include "support/Value.h"

#include <cstdint>
#include <map>
#include <string>

namespace brimlo::testing {

// A defaults record a scaler would keep: S/GR/01, top 20, length 50, with
// the given fields changed.
inline std::map<std::string, Value>
TypicalDefaults(const std::map<std::string, Value>& changes = {}) {
    std::map<std::string, Value> values = {
        {"SPECIES", "S"},
        {"CONDCODE", "GR"},
        {"PRODCODE", "01"},
        {"TOPD", int32_t{20}},
        {"LENGTH", int32_t{50}},
        {"CULLMETHTYPE1", "6"},
        {"CULLMETHTYPE2", "3"},
        {"CULLMETHTYPE3", "3"},
        {"CULLMETHTYPE4", "3"},
        {"CULLMETHTYPE5", "3"},
        {"CULLMETHTYPE6", "3"},
        {"CULLMETHTYPE7", "3"},
        {"LESSEE", "LESSEE CO"},
        {"MILL_NAME", "MILL"},
        {"MILL_NUM", int32_t{4}},
        {"LOAD_NUM", int32_t{123}},
        {"POP", int32_t{7}},
        {"HTOPD", int32_t{10}},
        {"NETWEIGHT", int32_t{20000}},
        {"HSPECIES", "S"},
        {"HCONDCODE", "GR"},
        {"HPRODCODE", "01"},
        {"MILL_CODE", "AB"},
        {"TREES", int32_t{30}},
        {"SAWLOGS", "Y"},
        {"VOL_CALC_METH", "S"},
        {"SCALER_NAME", "PAT"},
        {"SCALER_PERMIT", "P1"},
        {"TRIM_ALLOWANCE", "F"},
    };
    for (const auto& [k, v] : changes)
        values[k] = v;
    return values;
}

} // namespace brimlo::testing
