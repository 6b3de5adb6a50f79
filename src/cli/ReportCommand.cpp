#include "cli/ReportCommand.h"

#include "cli/DataFolder.h"
#include "cli/LoadInput.h"
#include "cli/MasterKey.h"
#include "cli/OutputTarget.h"
#include "master/CMaster.h"
#include "master/MasterTable.h"
#include "reports/LoadLogReport.h"
#include "reports/LoadSummaryReport.h"
#include "reports/MasterFullReport.h"
#include "reports/MasterSummaryReport.h"
#include "support/BrimloError.h"

#include <cstdio>

namespace brimlo::cli {

namespace {

int LoadReport(const std::string& kind, const ParsedArguments& args, const std::string& out) {
    if (args.positionals().size() != 2)
        throw UsageError("report " + kind + " takes one load file");
    if (args.has("--current"))
        throw UsageError("--current belongs to the master reports");
    const std::string& file = args.positionals()[1];
    std::string error;
    const std::optional<LoadInput> input = ReadLoadInput(file, error);
    if (!input) {
        std::fprintf(stderr, "%s: %s\n", file.c_str(), error.c_str());
        return kExitFailed;
    }
    CMaster master;
    if (kind == "listing")
        SaveLoadLogReportPdf(out, input->load, master);
    else
        SaveLoadSummaryPdf(out, input->load, master);
    return kExitOk;
}

int MasterReport(const std::string& kind, const ParsedArguments& args, const std::string& out) {
    if (args.positionals().size() != 1)
        throw UsageError("report " + kind + " takes no file name");
    const std::optional<std::string> current = args.value("--current");
    if (current && kind != "master-full")
        throw UsageError("--current belongs to report master-full");
    const std::optional<MasterKey> key =
        current ? std::optional<MasterKey>(MasterKey::Parse(*current)) : std::nullopt;
    DataFolder folder(args);
    Dataset& dataset = folder.master();
    if (kind == "master-summary") {
        SaveMasterSummaryPdf(out, dataset);
        return kExitOk;
    }
    if (key) {
        MasterTable table(dataset);
        if (!CMaster::LocateMaster(table, key->millCode, key->loadNum, key->pop))
            throw BrimloError("The master file holds no record " + key->text());
    }
    SaveMasterFullPdf(out, dataset, key.has_value());
    return kExitOk;
}

} // namespace

std::string ReportCommand::summary() const {
    return "write a load or master report as PDF";
}

std::string ReportCommand::help() const {
    return "usage: brimlo-cli report listing|summary FILE -o OUT.pdf\n"
           "       brimlo-cli report master-full [--current MILLCODE:POP:LOADNUM] -o OUT.pdf\n"
           "                         [--data-dir DIR]\n"
           "       brimlo-cli report master-summary -o OUT.pdf [--data-dir DIR]\n"
           "\n"
           "Writes one of the program's reports as a PDF file, laid out as the program\n"
           "prints it:\n"
           "  listing         the load log listing of a load file\n"
           "  summary         the load summary of a load file\n"
           "  master-full     the master file full report, of every record or only of\n"
           "                  the record with the key given by --current\n"
           "  master-summary  the master file summary\n"
           "\n"
           "  -o, --output OUT.pdf   the PDF file to write (required)\n"
           "  --data-dir DIR         the folder of master.db (default: the program's own)\n"
           "\n"
           "Exit status: 0 written, 2 the input cannot be read or the PDF written.\n";
}

ArgumentSpec ReportCommand::arguments() const {
    ArgumentSpec spec;
    spec.options = {"--output", "--current", kDataDirOption};
    spec.aliases = {{"-o", "--output"}};
    spec.minPositionals = 1;
    spec.maxPositionals = 2;
    return spec;
}

int ReportCommand::run(const ParsedArguments& args, Prompt&) {
    const std::string& kind = args.positionals().front();
    const std::optional<std::string> out = args.value("--output");
    if (!out)
        throw UsageError("say where the PDF goes: -o OUT.pdf");
    RequireReplaceableFile(*out);
    if (kind == "listing" || kind == "summary")
        return LoadReport(kind, args, *out);
    if (kind == "master-full" || kind == "master-summary")
        return MasterReport(kind, args, *out);
    throw UsageError("unknown report '" + kind +
                     "': listing, summary, master-full or master-summary");
}

} // namespace brimlo::cli
