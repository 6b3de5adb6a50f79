#pragma once

#include "load/LoadData.h"

#include <string>

namespace brimlo::testing {

// A log of condition GR and product 01, its product not overridden; tests
// set the fields their case is about.
inline LogRecord SampleLog(const std::string& species, int topd, int length, int buttd,
                           double gross, double cull = 0) {
    LogRecord log;
    log.SPECIES = species;
    log.CONDCODE = "GR";
    log.PRODCODE = "01";
    log.TOPD = static_cast<int16_t>(topd);
    log.LENGTH = static_cast<int16_t>(length);
    log.BUTTD = static_cast<int16_t>(buttd);
    log.GROSSVOL = gross;
    log.CULLVOL = cull;
    log.PROD_OVERRIDE = "N";
    return log;
}

} // namespace brimlo::testing
