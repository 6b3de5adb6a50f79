#include "load/CheckScaleComparison.h"

#include "load/LoadFileReader.h"
#include "load/LoadRecalc.h"
#include "load/LoadSummary.h"
#include "load/LogOrder.h"
#include "rules/CullVolume.h"
#include "rules/GrossVolume.h"
#include "support/BrimloError.h"
#include "support/DovraneGeneric.h"
#include "support/Prompt.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace brimlo {

namespace {

// A percentage computed from whole litres can land a hair beside the
// tolerance it equals (0.1 x 3 is not 0.3); such a case is within.
constexpr double kPercentSlack = 1e-9;

template <typename Int> std::string NumberText(Int value) {
    return std::to_string(value);
}

// The measured fields, in the order the log listing shows them.
struct MeasuredField {
    const char* name;
    std::string (*text)(const LogRecord&);
};

const MeasuredField kMeasuredFields[] = {
    {"SPECIES", [](const LogRecord& l) { return Trimmed(l.SPECIES); }},
    {"CONDCODE", [](const LogRecord& l) { return Trimmed(l.CONDCODE); }},
    {"PRODCODE", [](const LogRecord& l) { return Trimmed(l.PRODCODE); }},
    {"TOPD", [](const LogRecord& l) { return NumberText(l.TOPD); }},
    {"BUTTD", [](const LogRecord& l) { return NumberText(l.BUTTD); }},
    {"LENGTH", [](const LogRecord& l) { return NumberText(l.LENGTH); }},
    {"CULL_TYPE", [](const LogRecord& l) { return Trimmed(l.CULL_TYPE); }},
    {"CULL_METH", [](const LogRecord& l) { return Trimmed(l.CULL_METH); }},
    {"C1", [](const LogRecord& l) { return NumberText(l.C1); }},
    {"C2", [](const LogRecord& l) { return NumberText(l.C2); }},
    {"C3", [](const LogRecord& l) { return NumberText(l.C3); }},
};

char MethodOf(const HeaderRecord& header) {
    return header.VOL_CALC_METH.empty() ? ' ' : header.VOL_CALC_METH[0];
}

std::vector<LogFieldDifference> FieldDifferences(const LogRecord& original,
                                                 const LogRecord& check) {
    std::vector<LogFieldDifference> found;
    for (const MeasuredField& field : kMeasuredFields) {
        std::string a = field.text(original);
        std::string b = field.text(check);
        if (a != b)
            found.push_back({field.name, std::move(a), std::move(b)});
    }
    return found;
}

// The group a log counts in, as the load summary groups it; nothing for a
// log without a species or of species "N".
std::optional<std::string> GroupKeyOf(const LogRecord& log) {
    const std::string species = Trimmed(log.SPECIES);
    if (species.empty() || species == "N")
        return std::nullopt;
    return SummaryGroupKey(log.SPECIES, log.CONDCODE, log.PRODCODE);
}

// Groups in order of first appearance, each log adding to its own side.
class GroupSums {
public:
    void add(const LogRecord& log, const LogVolumes& v, ScaleSide side) {
        const std::optional<std::string> key = GroupKeyOf(log);
        if (!key)
            return;
        GroupComparison& g = groupFor(*key);
        if (v.gross <= 0)
            return;
        const bool original = side == ScaleSide::Original;
        (original ? g.originalLogs : g.checkLogs) += 1;
        (original ? g.gross.originalLitres : g.gross.checkLitres) += v.gross;
        (original ? g.cull.originalLitres : g.cull.checkLitres) += v.cull;
        (original ? g.net.originalLitres : g.net.checkLitres) += v.net;
    }

    std::vector<GroupComparison> take() { return std::move(groups_); }

private:
    GroupComparison& groupFor(const std::string& key) {
        const auto found = index_.find(key);
        if (found != index_.end())
            return groups_[found->second];
        index_.emplace(key, groups_.size());
        groups_.push_back(GroupComparison{});
        groups_.back().key = key;
        return groups_.back();
    }

    std::vector<GroupComparison> groups_;
    std::map<std::string, std::size_t> index_;
};

void AddTo(VolumeDifference& total, const VolumeDifference& part) {
    total.originalLitres += part.originalLitres;
    total.checkLitres += part.checkLitres;
}

GroupComparison LoadTotals(const std::vector<GroupComparison>& groups) {
    GroupComparison load;
    for (const GroupComparison& g : groups) {
        load.originalLogs += g.originalLogs;
        load.checkLogs += g.checkLogs;
        AddTo(load.gross, g.gross);
        AddTo(load.cull, g.cull);
        AddTo(load.net, g.net);
    }
    return load;
}

bool Within(const VolumeDifference& v, double allowedPercent) {
    const std::optional<double> pct = v.percent();
    return pct && std::fabs(*pct) <= allowedPercent + kPercentSlack;
}

void Judge(GroupComparison& g, const CheckScaleTolerances& tolerances) {
    g.checkDefectPercent = g.gross.checkLitres != 0
                               ? static_cast<double>(g.cull.checkLitres) * 100.0 /
                                     static_cast<double>(g.gross.checkLitres)
                               : 0.0;
    g.allowedGrossPercent = tolerances.grossPercent;
    g.allowedNetPercent = tolerances.allowedNetPercent(g.checkDefectPercent);
    g.grossWithin = Within(g.gross, g.allowedGrossPercent);
    g.netWithin = Within(g.net, g.allowedNetPercent);
}

void AddUnmatched(CheckScaleComparison& result, const LogRecord& log, ScaleSide side, char method) {
    result.unmatched.push_back(
        {log.LOGNUM, side, GroupKeyOf(log).value_or(std::string()), ScaledVolumes(log, method)});
}

// Walks both loads in log number order, pairing equal numbers.
void MatchLogs(CheckScaleComparison& result, const LoadData& original, const LoadData& check,
               GroupSums& sums) {
    const char originalMethod = MethodOf(original.header);
    const char checkMethod = MethodOf(check.header);
    const std::vector<const LogRecord*> a = InLogNumberOrder(original.logs);
    const std::vector<const LogRecord*> b = InLogNumberOrder(check.logs);
    std::size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
        if (j == b.size() || (i < a.size() && a[i]->LOGNUM < b[j]->LOGNUM)) {
            AddUnmatched(result, *a[i++], ScaleSide::Original, originalMethod);
        } else if (i == a.size() || b[j]->LOGNUM < a[i]->LOGNUM) {
            AddUnmatched(result, *b[j++], ScaleSide::Check, checkMethod);
        } else {
            const LogRecord& x = *a[i++];
            const LogRecord& y = *b[j++];
            LogComparison log{x.LOGNUM, FieldDifferences(x, y), ScaledVolumes(x, originalMethod),
                              ScaledVolumes(y, checkMethod)};
            sums.add(x, log.original, ScaleSide::Original);
            sums.add(y, log.check, ScaleSide::Check);
            result.logs.push_back(std::move(log));
        }
    }
}

// Reading for a comparison asks nothing: an Alberta load stays as it was
// scaled, and why a file could not be read is raised, not shown.
class ReadingPrompt : public Prompt {
public:
    PromptAnswer show(const std::string& text, const std::string&, PromptIcon,
                      PromptButtons buttons) override {
        if (buttons == PromptButtons::Ok)
            lastMessage_ = text;
        return dismissedAnswer(buttons);
    }
    const std::string& lastMessage() const { return lastMessage_; }

private:
    std::string lastMessage_;
};

LoadData ReadForComparison(const std::string& fileName) {
    ReadingPrompt prompt;
    LoadFileReadResult read = ReadLoadFile(fileName, prompt);
    if (!read.read)
        throw BrimloError(prompt.lastMessage().empty()
                              ? "Unable to read load file '" + fileName + "'"
                              : prompt.lastMessage() + " ('" + fileName + "')");
    return std::move(read.load);
}

} // namespace

std::optional<double> VolumeDifference::percent() const {
    if (checkLitres == 0) {
        if (originalLitres == 0)
            return 0.0;
        return std::nullopt;
    }
    return static_cast<double>(originalLitres - checkLitres) * 100.0 /
           static_cast<double>(checkLitres);
}

std::string GroupComparison::verdict() const {
    if (within())
        return "within";
    if (!grossWithin && !netWithin)
        return "outside gross and net";
    return grossWithin ? "outside net" : "outside gross";
}

int CheckScaleComparison::differingLogs() const {
    return static_cast<int>(std::count_if(logs.begin(), logs.end(),
                                          [](const LogComparison& l) { return l.differs(); }));
}

LogVolumes ScaledVolumes(const LogRecord& log, char volumeMethod) {
    LogVolumes v;
    v.gross = CalcGrossVolume(volumeMethod, log.SPECIES, log.TOPD, log.BUTTD, log.LENGTH);
    LogMeasures measures = MeasuresOf(log);
    measures.grossvol = v.gross;
    v.cull = CalcCullVolume(measures, volumeMethod);
    v.net = v.gross - v.cull;
    return v;
}

CheckScaleComparison CompareCheckScale(const LoadData& original, const LoadData& check,
                                       const CheckScaleTolerances& tolerances) {
    CheckScaleComparison result;
    result.originalHeader = original.header;
    result.checkHeader = check.header;
    result.tolerances = tolerances;
    result.logs.reserve(std::min(original.logs.size(), check.logs.size()));
    GroupSums sums;
    MatchLogs(result, original, check, sums);
    result.groups = sums.take();
    result.load = LoadTotals(result.groups);
    for (GroupComparison& g : result.groups)
        Judge(g, tolerances);
    Judge(result.load, tolerances);
    return result;
}

CheckScaleComparison CompareCheckScaleFiles(const std::string& originalFile,
                                            const std::string& checkFile,
                                            const CheckScaleTolerances& tolerances) {
    const LoadData original = ReadForComparison(originalFile);
    const LoadData check = ReadForComparison(checkFile);
    CheckScaleComparison result = CompareCheckScale(original, check, tolerances);
    result.originalFile = originalFile;
    result.checkFile = checkFile;
    return result;
}

} // namespace brimlo
