#include "cli/MasterStatsCommand.h"

#include "cli/DataFolder.h"
#include "cli/OutputText.h"
#include "master/MasterFields.h"
#include "master/MasterTable.h"
#include "rules/Cglobals.h"
#include "rules/NumberFormat.h"

#include <algorithm>
#include <cstdio>

namespace brimlo::cli {

namespace {

struct MasterStats {
    int records = 0;
    Date first, last;
    int64_t logs = 0, trees = 0, netWeight = 0;
    double gross = 0.0, cull = 0.0, net = 0.0;
};

void AddDate(MasterStats& stats, Date date) {
    if (!date.valid())
        return;
    if (!stats.first.valid() || date.days < stats.first.days)
        stats.first = date;
    if (!stats.last.valid() || date.days > stats.last.days)
        stats.last = date;
}

// The groups in use, as the reports and exports read them.
void AddGroups(MasterStats& stats, const MasterTable& table) {
    const int groups = std::clamp(table.field(kMasterNumGroups).asInt(), 0, 12);
    for (int n = 1; n <= groups; ++n) {
        stats.gross += table.field(MasterGroupFieldIndex(n, kGroupGrossVol)).asDouble();
        stats.cull += table.field(MasterGroupFieldIndex(n, kGroupCullVol)).asDouble();
        stats.net += table.field(MasterGroupFieldIndex(n, kGroupNetVol)).asDouble();
    }
}

MasterStats Gather(MasterTable& table) {
    MasterStats stats;
    table.forEachKeepingPlace([&] {
        ++stats.records;
        AddDate(stats, table.field(kMasterWeighDate).asDate());
        stats.logs += table.field(kMasterTotalLogs).asInt();
        stats.trees += table.field(kMasterTrees).asInt();
        stats.netWeight += table.field(kMasterNetWeight).asInt();
        AddGroups(stats, table);
    });
    return stats;
}

std::string DateOrNull(Date date) {
    return date.valid() ? JsonString(IsoDate(date)) : "null";
}

std::string AsJson(const MasterStats& s) {
    return JsonObject()
               .integer("records", s.records)
               .raw("firstWeighed", DateOrNull(s.first))
               .raw("lastWeighed", DateOrNull(s.last))
               .integer("logs", s.logs)
               .integer("trees", s.trees)
               .integer("netWeight", s.netWeight)
               .number("grossVolume", s.gross)
               .number("cullVolume", s.cull)
               .number("netVolume", s.net)
               .str() +
           "\n";
}

std::string AsText(const MasterStats& s) {
    char text[1024];
    std::snprintf(text, sizeof text,
                  "Records: %d\nWeighed: %s to %s\nLogs: %lld\nTrees: %lld\n"
                  "Net weight: %lld kg\nGross volume: %s m3\nCull volume: %s m3\n"
                  "Net volume: %s m3\n",
                  s.records, IsoDate(s.first).c_str(), IsoDate(s.last).c_str(),
                  static_cast<long long>(s.logs), static_cast<long long>(s.trees),
                  static_cast<long long>(s.netWeight), FormatNumber(s.gross, kVolumeFormat).c_str(),
                  FormatNumber(s.cull, kVolumeFormat).c_str(),
                  FormatNumber(s.net, kVolumeFormat).c_str());
    return text;
}

} // namespace

std::string MasterStatsCommand::summary() const {
    return "master stats: record count, date range and totals of the master file";
}

std::string MasterStatsCommand::help() const {
    return "usage: brimlo-cli master stats [--json] [--data-dir DIR]\n"
           "\n"
           "Prints the number of master records, the first and last date weighed, and\n"
           "the totals of logs, trees, net weight (kg) and gross, cull and net volume\n"
           "(cubic metres, over the groups in use).\n"
           "\n"
           "  --json          one JSON object instead of text (see docs/cli.md)\n"
           "  --data-dir DIR  the folder of master.db (default: the program's own)\n";
}

ArgumentSpec MasterStatsCommand::arguments() const {
    ArgumentSpec spec;
    spec.flags = {"--json"};
    spec.options = {kDataDirOption};
    spec.minPositionals = 1;
    spec.maxPositionals = 1;
    return spec;
}

int MasterStatsCommand::run(const ParsedArguments& args, Prompt&) {
    if (args.positionals().front() != "stats")
        throw UsageError("unknown master command '" + args.positionals().front() + "': stats");
    DataFolder folder(args);
    MasterTable table(folder.master());
    const MasterStats stats = Gather(table);
    const std::string text = args.has("--json") ? AsJson(stats) : AsText(stats);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitOk;
}

} // namespace brimlo::cli
