#include "cli/CheckScaleCommand.h"

#include "cli/CheckScaleJson.h"
#include "cli/OutputTarget.h"
#include "load/CheckScaleComparison.h"
#include "load/CheckScaleText.h"
#include "reports/CheckScaleReport.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace brimlo::cli {

namespace {

// A percentage or factor as typed: a plain number, 0 or more.
double NumberOption(const ParsedArguments& args, const char* option, double fallback) {
    const std::optional<std::string> text = args.value(option);
    if (!text)
        return fallback;
    char* end = nullptr;
    const double value = std::strtod(text->c_str(), &end);
    if (text->empty() || *end != '\0' || !std::isfinite(value) || value < 0)
        throw UsageError(std::string(option) + " takes a number of 0 or more, not '" + *text + "'");
    return value;
}

CheckScaleTolerances TolerancesOf(const ParsedArguments& args) {
    CheckScaleTolerances t;
    t.grossPercent = NumberOption(args, "--gross-tol", t.grossPercent);
    t.netPercent = NumberOption(args, "--net-tol", t.netPercent);
    if (args.has("--defect-factor") != args.has("--defect-max"))
        throw UsageError("--defect-factor and --defect-max go together");
    t.defectRule = args.has("--defect-factor");
    t.defectFactor = NumberOption(args, "--defect-factor", t.defectFactor);
    t.defectMaxPercent = NumberOption(args, "--defect-max", t.defectMaxPercent);
    return t;
}

} // namespace

std::string CheckScaleCommand::summary() const {
    return "compare a load's scaling with a check scaler's";
}

std::string CheckScaleCommand::help() const {
    return "usage: brimlo-cli check-scale ORIGINAL CHECK [--json] [-o REPORT.pdf]\n"
           "                  [--gross-tol PCT] [--net-tol PCT]\n"
           "                  [--defect-factor F --defect-max PCT]\n"
           "\n"
           "Compares the scaler's load file ORIGINAL with the check scaler's load file\n"
           "CHECK. Logs are matched by log number; each load's volumes are computed by\n"
           "the rules under its own volume method. Prints the logs measured\n"
           "differently, the logs only one file holds, and for each species-condition-\n"
           "product group and the load the gross, cull and net volume of both scalings\n"
           "(cubic metres), their difference (original minus check), the difference in\n"
           "percent of the check scale and the verdict against the tolerances.\n"
           "\n"
           "  --json                one JSON document instead of text (see docs/cli.md)\n"
           "  -o, --output FILE     also write the comparison report as PDF\n"
           "  --gross-tol PCT       allowed gross difference, percent (default 1)\n"
           "  --net-tol PCT         allowed net difference, percent (default 2)\n"
           "  --defect-factor F     with --defect-max: the allowed net difference is F\n"
           "  --defect-max PCT      times the check scale's percent defect, at most PCT\n"
           "                        (takes the place of --net-tol)\n"
           "\n"
           "Exit status: 0 the load is within the tolerances, 1 it is outside them,\n"
           "2 a file cannot be read or the PDF written.\n";
}

ArgumentSpec CheckScaleCommand::arguments() const {
    ArgumentSpec spec;
    spec.flags = {"--json"};
    spec.options = {"--output", "--gross-tol", "--net-tol", "--defect-factor", "--defect-max"};
    spec.aliases = {{"-o", "--output"}};
    spec.minPositionals = 2;
    spec.maxPositionals = 2;
    return spec;
}

int CheckScaleCommand::run(const ParsedArguments& args, Prompt&) {
    const CheckScaleTolerances tolerances = TolerancesOf(args);
    const std::optional<std::string> pdf = args.value("--output");
    if (pdf)
        RequireReplaceableFile(*pdf);
    const CheckScaleComparison c =
        CompareCheckScaleFiles(args.positionals()[0], args.positionals()[1], tolerances);
    if (pdf)
        SaveCheckScaleReportPdf(*pdf, c);
    const std::string text = args.has("--json") ? CheckScaleJson(c) : CheckScaleText(c);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return c.load.within() ? kExitOk : kExitProblems;
}

} // namespace brimlo::cli
