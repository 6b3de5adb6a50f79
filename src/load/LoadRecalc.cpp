#include "load/LoadRecalc.h"

#include "rules/CullVolume.h"
#include "rules/GrossVolume.h"

#include <cmath>

namespace brimlo {

namespace {

char FirstOrBlank(const std::string& text) {
    return text.empty() ? ' ' : text[0];
}

} // namespace

LogMeasures MeasuresOf(const LogRecord& log) {
    LogMeasures m;
    m.species = log.SPECIES;
    m.topd = log.TOPD;
    m.buttd = log.BUTTD;
    m.length = log.LENGTH;
    m.c1 = log.C1;
    m.c2 = log.C2;
    m.c3 = log.C3;
    m.grossvol = static_cast<int32_t>(std::lround(log.GROSSVOL));
    m.cullType = FirstOrBlank(log.CULL_TYPE);
    m.cullMethod = FirstOrBlank(log.CULL_METH);
    m.prodcode = log.PRODCODE;
    m.prodOverride = log.PROD_OVERRIDE;
    return m;
}

void RecalcLoadSmalian(std::vector<LogRecord>& logs) {
    for (LogRecord& log : logs) {
        log.GROSSVOL = CalcSmalianVolume(log.BUTTD, log.TOPD, log.LENGTH);
        if (log.CULLVOL > 0)
            log.CULLVOL = CalcCullVolume(MeasuresOf(log), 'S');
    }
}

} // namespace brimlo
