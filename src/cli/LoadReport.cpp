#include "cli/LoadReport.h"

#include "cli/OutputText.h"
#include "load/LoadSummary.h"
#include "load/SpCdPrTally.h"
#include "rules/Cglobals.h"
#include "rules/NumberFormat.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace brimlo::cli {

namespace {

long Litres(double volume) {
    return std::lround(volume);
}

std::string Line(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Line(const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return std::string(buffer) + '\n';
}

std::string HeaderJson(const LoadData& load) {
    const HeaderRecord& h = load.header;
    JsonObject json;
    json.text("LESSEE", h.LESSEE)
        .text("MILL_NAME", h.MILL_NAME)
        .text("DISP", h.DISP)
        .text("SUBDISP", h.SUBDISP)
        .integer("MILL_NUM", h.MILL_NUM)
        .text("BLOCK_NUM", h.BLOCK_NUM)
        .integer("LOAD_NUM", h.LOAD_NUM)
        .integer("POP", h.POP)
        .integer("HTOPD", h.HTOPD)
        .number("NETWEIGHT", h.NETWEIGHT)
        .text("TM9", h.TM9)
        .text("HSPECIES", h.HSPECIES)
        .text("HCONDCODE", h.HCONDCODE)
        .text("HPRODCODE", h.HPRODCODE)
        .text("SOURCE", h.SOURCE)
        .text("MILL_CODE", h.MILL_CODE)
        .integer("LOAD_ID", h.LOAD_ID)
        .integer("TREES", h.TREES)
        .text("SAWLOGS", h.SAWLOGS)
        .raw("DATEWEIGHED", h.DATEWEIGHED.valid() ? JsonString(IsoDate(h.DATEWEIGHED)) : "null")
        .text("VOL_CALC_METH", h.VOL_CALC_METH)
        .text("SCALER_NAME", h.SCALER_NAME)
        .text("SCALER_PERMIT", h.SCALER_PERMIT)
        .boolean("TRIM_ALLOWANCE", load.trimAllowance);
    return json.str();
}

std::string LogJson(const LogRecord& log, std::size_t line) {
    JsonObject json;
    json.integer("LOGNUM", log.LOGNUM)
        .integer("line", static_cast<int64_t>(line))
        .text("SPECIES", log.SPECIES)
        .text("CONDCODE", log.CONDCODE)
        .text("PRODCODE", log.PRODCODE)
        .integer("TOPD", log.TOPD)
        .integer("LENGTH", log.LENGTH)
        .integer("BUTTD", log.BUTTD)
        .text("CULL_TYPE", log.CULL_TYPE)
        .text("CULL_METH", log.CULL_METH)
        .integer("C1", log.C1)
        .integer("C2", log.C2)
        .integer("C3", log.C3)
        .integer("GROSSVOL", Litres(log.GROSSVOL))
        .integer("CULLVOL", Litres(log.CULLVOL))
        .integer("NETVOL", Litres(log.GROSSVOL) - Litres(log.CULLVOL))
        .text("FLAG", log.FLAG)
        .integer("LOAD_ID", log.LOAD_ID)
        .integer("DBH", log.DBH)
        .text("PROD_OVERRIDE", log.PROD_OVERRIDE)
        .integer("ACT_LENGTH", log.ACT_LENGTH);
    return json.str();
}

std::string TallyJson(const SpCdPrTally& tally) {
    std::vector<std::string> entries;
    for (const auto& [key, logs] : tally.entries())
        entries.push_back(JsonObject().text("key", key).integer("logs", logs).str());
    return JsonObject()
        .integer("combinations", tally.combinationCount())
        .raw("entries", JsonArray(entries))
        .str();
}

std::string SummaryJson(const LoadSummary& summary) {
    std::vector<std::string> groups;
    for (int n = 0; n < summary.NUM_GROUPS; ++n) {
        const SummaryGroup& g = summary.groups[static_cast<std::size_t>(n)];
        groups.push_back(JsonObject()
                             .text("SPCDPR", g.SPCDPR)
                             .integer("LOGNUMS", g.LOGNUMS)
                             .number("LENGTH", g.LENGTH)
                             .number("GROSSVOL", g.GROSSVOL)
                             .number("CULLVOL", g.CULLVOL)
                             .number("NETVOL", g.NETVOL)
                             .number("CULLPER", g.CULLPER)
                             .str());
    }
    return JsonObject()
        .integer("NUM_GROUPS", summary.NUM_GROUPS)
        .integer("TOTALLOGS", summary.TOTALLOGS)
        .raw("groups", JsonArray(groups))
        .str();
}

std::string HeaderText(const LoadData& load) {
    const HeaderRecord& h = load.header;
    const std::string method = h.VOL_CALC_METH == "A" ? kAlbertaMethodName : kSmalianMethodName;
    std::string text;
    text += Line("Lessee: %s", Utf8Text(h.LESSEE).c_str());
    text += Line("Mill: %s  M%d  mill code %s", Utf8Text(h.MILL_NAME).c_str(), h.MILL_NUM,
                 Utf8Text(h.MILL_CODE).c_str());
    text += Line("Disposition: %s  Sub-disposition: %s  Source: %s  Block: %s",
                 Utf8Text(h.DISP).c_str(), Utf8Text(h.SUBDISP).c_str(), Utf8Text(h.SOURCE).c_str(),
                 Utf8Text(h.BLOCK_NUM).c_str());
    text += Line("Load: %d  Population: %d  Date weighed: %s  Net weight: %ld kg", h.LOAD_NUM,
                 h.POP, IsoDate(h.DATEWEIGHED).c_str(), std::lround(h.NETWEIGHT));
    text +=
        Line("TM 9: %s  Sp-Cd-Pr: %s %s %s  Top diameter: %d  Trees: %d  Sawlogs: %s",
             Utf8Text(h.TM9).c_str(), Utf8Text(h.HSPECIES).c_str(), Utf8Text(h.HCONDCODE).c_str(),
             Utf8Text(h.HPRODCODE).c_str(), h.HTOPD, h.TREES, Utf8Text(h.SAWLOGS).c_str());
    text += Line("Method: %s  Trim allowance: %s  Scaler: %s (%s)", method.c_str(),
                 load.trimAllowance ? "on" : "off", Utf8Text(h.SCALER_NAME).c_str(),
                 Utf8Text(h.SCALER_PERMIT).c_str());
    return text;
}

std::string LogsText(const std::vector<LogRecord>& logs) {
    std::string text = "\n  LOG SP CD PR TOPD LEN BUTT CT CM  C1  C2  C3  GROSS   CULL    NET\n";
    for (const LogRecord& log : logs) {
        const long gross = Litres(log.GROSSVOL), cull = Litres(log.CULLVOL);
        text += Line("%5d %-2s %-2s %-2s %4d %3d %4d %-2s %-2s %3d %3d %3d %6ld %6ld %6ld",
                     log.LOGNUM, log.SPECIES.c_str(), log.CONDCODE.c_str(), log.PRODCODE.c_str(),
                     log.TOPD, log.LENGTH, log.BUTTD, log.CULL_TYPE.c_str(), log.CULL_METH.c_str(),
                     log.C1, log.C2, log.C3, gross, cull, gross - cull);
    }
    return text;
}

std::string TallyText(const SpCdPrTally& tally) {
    std::string text = "\n" + tally.CountText() + "\n";
    for (const auto& [key, logs] : tally.entries())
        text += Line("  \"%s\" %d", key.c_str(), logs);
    return text;
}

std::string SummaryText(const LoadSummary& summary) {
    std::string text =
        Line("\nLoad summary: %d groups, %d logs", summary.NUM_GROUPS, summary.TOTALLOGS);
    text += "  SP-CD-PR  LOGS  LENGTH     GROSS      CULL       NET   CULL %\n";
    for (int n = 0; n < summary.NUM_GROUPS; ++n) {
        const SummaryGroup& g = summary.groups[static_cast<std::size_t>(n)];
        text += Line("  %-8s %5d %7s %9s %9s %9s %8s", g.SPCDPR.c_str(), g.LOGNUMS,
                     FormatNumber(g.LENGTH, kLengthFormat).c_str(),
                     FormatNumber(g.GROSSVOL, kVolumeFormat).c_str(),
                     FormatNumber(g.CULLVOL, kVolumeFormat).c_str(),
                     FormatNumber(g.NETVOL, kVolumeFormat).c_str(),
                     FormatNumber(g.CULLPER, kPercentFormat).c_str());
    }
    return text;
}

} // namespace

std::string LoadAsText(const LoadInput& input) {
    SpCdPrTally tally;
    tally.CountLogs(input.load.logs);
    return "File: " + input.fileName + "\n" + HeaderText(input.load) + LogsText(input.load.logs) +
           TallyText(tally) + SummaryText(ComputeLoadSummary(input.load.header, input.load.logs));
}

std::string LoadAsJson(const LoadInput& input) {
    SpCdPrTally tally;
    tally.CountLogs(input.load.logs);
    std::vector<std::string> logs;
    for (std::size_t i = 0; i < input.load.logs.size(); ++i)
        logs.push_back(LogJson(input.load.logs[i], input.logLines.at(i)));
    return JsonObject()
               .raw("file", JsonString(input.fileName))
               .raw("header", HeaderJson(input.load))
               .raw("logs", JsonArray(logs))
               .raw("tally", TallyJson(tally))
               .raw("summary", SummaryJson(ComputeLoadSummary(input.load.header, input.load.logs)))
               .str() +
           "\n";
}

} // namespace brimlo::cli
