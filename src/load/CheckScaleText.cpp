#include "load/CheckScaleText.h"

#include "rules/NumberFormat.h"

#include <cstdio>

namespace brimlo {

namespace {

std::string Line(const char* format, auto... values) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, values...);
    std::string line(buffer);
    line.erase(line.find_last_not_of(' ') + 1);
    return line + "\n";
}

std::string Volume(double m3) {
    return FormatNumber(m3, "#0.000");
}

std::string Percent(double value) {
    return FormatNumber(value, "#0.00");
}

std::string LoadLine(const char* label, const std::string& file, const HeaderRecord& h) {
    return Line("%-10s %s (load %d, %s)", label, file.c_str(), static_cast<int>(h.LOAD_NUM),
                VolumeMethodName(h).c_str());
}

std::string GroupLines(const GroupComparison& g, const std::string& label) {
    const struct {
        const char* name;
        const VolumeDifference* v;
        double allowed;
        bool judged;
    } rows[] = {{"Gross", &g.gross, g.allowedGrossPercent, true},
                {"Cull", &g.cull, 0.0, false},
                {"Net", &g.net, g.allowedNetPercent, true}};
    std::string text;
    for (const auto& row : rows) {
        const bool first = row.v == &g.gross;
        text +=
            Line("%-9s %-6s %10s %10s %10s %8s %9s  %s", first ? label.c_str() : "", row.name,
                 Volume(row.v->original()).c_str(), Volume(row.v->check()).c_str(),
                 Volume(row.v->difference()).c_str(), PercentText(row.v->percent()).c_str(),
                 row.judged ? Percent(row.allowed).c_str() : "", first ? g.verdict().c_str() : "");
    }
    return text;
}

std::string GroupSection(const CheckScaleComparison& c) {
    std::string text = Line("%-9s %-6s %10s %10s %10s %8s %9s  %s", "Sp-Cd-Pr", "Volume",
                            "Original", "Check", "Diff.", "Diff. %", "Allowed %", "Verdict");
    for (const GroupComparison& g : c.groups)
        text += GroupLines(g, g.key);
    return text + GroupLines(c.load, "LOAD");
}

std::string LogSection(const CheckScaleComparison& c) {
    std::string text;
    for (const LogComparison& log : c.logs) {
        if (!log.differs())
            continue;
        text += Line("Log %d: gross %d / %d, cull %d / %d, net %d / %d litres",
                     static_cast<int>(log.logNumber), log.original.gross, log.check.gross,
                     log.original.cull, log.check.cull, log.original.net, log.check.net);
        for (const LogFieldDifference& f : log.fields)
            text += Line("    %-9s %s / %s", f.field.c_str(), f.original.c_str(), f.check.c_str());
    }
    for (const UnmatchedLog& log : c.unmatched)
        text += Line("Log %d: %s (%s): gross %d, cull %d, net %d litres",
                     static_cast<int>(log.logNumber), SideText(log.side).c_str(),
                     log.groupKey.c_str(), log.volumes.gross, log.volumes.cull, log.volumes.net);
    return text;
}

} // namespace

std::string ToleranceText(const CheckScaleTolerances& t) {
    std::string text = "gross " + Percent(t.grossPercent) + " %, net ";
    if (t.defectRule)
        return text + FormatNumber(t.defectFactor, "#0.000") + " x percent defect, at most " +
               Percent(t.defectMaxPercent) + " %";
    return text + Percent(t.netPercent) + " %";
}

std::string PercentText(const std::optional<double>& percent) {
    return percent ? Percent(*percent) : std::string("-");
}

std::string VolumeMethodName(const HeaderRecord& header) {
    const bool alberta = !header.VOL_CALC_METH.empty() && header.VOL_CALC_METH[0] == 'A';
    return alberta ? "Alberta Cubic Metre" : "Smalian's Formula";
}

std::string SideText(ScaleSide side) {
    return side == ScaleSide::Original ? "original only" : "check only";
}

std::string CheckScaleText(const CheckScaleComparison& c) {
    std::string text = LoadLine("Original:", c.originalFile, c.originalHeader) +
                       LoadLine("Check:", c.checkFile, c.checkHeader) +
                       Line("Tolerances: %s", ToleranceText(c.tolerances).c_str()) +
                       Line("Logs compared: %zu, differing: %d, in one scaling only: %zu",
                            c.logs.size(), c.differingLogs(), c.unmatched.size()) +
                       Line("Verdict: %s", c.load.verdict().c_str()) + "\n";
    text += GroupSection(c);
    const std::string logs = LogSection(c);
    return text + "\n" + (logs.empty() ? std::string("No log differs.\n") : logs);
}

} // namespace brimlo
