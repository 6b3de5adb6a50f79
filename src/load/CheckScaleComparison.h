#pragma once

#include "load/CheckScaleTolerances.h"
#include "load/LoadData.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brimlo {

// A load's scaling set against a check scaler's scaling of the same logs.
// Volumes of every log are computed afresh by the rules, each load by its
// own volume method, so a file's stored volumes cannot hide a difference.
// Differences are original minus check; percentages are of the check scale.

enum class ScaleSide { Original, Check };

// One log's volumes in whole litres.
struct LogVolumes {
    int32_t gross = 0;
    int32_t cull = 0;
    int32_t net = 0;

    bool operator==(const LogVolumes&) const = default;
};

// A measured field the two scalers keyed differently, by its field name
// (SPECIES, TOPD, ...), with both values as text.
struct LogFieldDifference {
    std::string field;
    std::string original;
    std::string check;

    bool operator==(const LogFieldDifference&) const = default;
};

// A log both scalings hold.
struct LogComparison {
    int32_t logNumber = 0;
    std::vector<LogFieldDifference> fields;
    LogVolumes original;
    LogVolumes check;

    bool differs() const { return !fields.empty() || original != check; }
};

// A log number only one of the scalings holds.
struct UnmatchedLog {
    int32_t logNumber = 0;
    ScaleSide side = ScaleSide::Original;
    std::string groupKey;
    LogVolumes volumes;
};

// One volume of a group (or of the load) in both scalings, summed in
// litres and shown in cubic metres.
struct VolumeDifference {
    int64_t originalLitres = 0;
    int64_t checkLitres = 0;

    double original() const { return static_cast<double>(originalLitres) * 0.001; }
    double check() const { return static_cast<double>(checkLitres) * 0.001; }
    double difference() const { return static_cast<double>(originalLitres - checkLitres) * 0.001; }
    // The difference in percent of the check scale; none when the check
    // scale has no volume but the original has.
    std::optional<double> percent() const;
};

// The figures and the verdict of one Sp-Cd-Pr group, or of the load.
struct GroupComparison {
    std::string key; // the load summary's group key; empty for the load
    int32_t originalLogs = 0;
    int32_t checkLogs = 0;
    VolumeDifference gross;
    VolumeDifference cull;
    VolumeDifference net;
    double checkDefectPercent = 0.0; // the check scale's cull in percent of its gross
    double allowedGrossPercent = 0.0;
    double allowedNetPercent = 0.0;
    bool grossWithin = true;
    bool netWithin = true;

    bool within() const { return grossWithin && netWithin; }
    // "within", "outside gross", "outside net" or "outside gross and net".
    std::string verdict() const;
};

struct CheckScaleComparison {
    std::string originalFile;
    std::string checkFile;
    HeaderRecord originalHeader;
    HeaderRecord checkHeader;
    CheckScaleTolerances tolerances;
    std::vector<LogComparison> logs;     // the matched logs, by log number
    std::vector<UnmatchedLog> unmatched; // by log number
    // Groups and load sum the matched logs as the load summary sums a load:
    // logs without a species or of species "N" count in no group, logs
    // without a gross volume add nothing. Every group is shown; the limit of
    // twelve belongs to the master record, not to a comparison.
    std::vector<GroupComparison> groups;
    GroupComparison load;

    int differingLogs() const;
};

// The volumes of a log by the rules, under a load's method letter.
LogVolumes ScaledVolumes(const LogRecord& log, char volumeMethod);

CheckScaleComparison CompareCheckScale(const LoadData& original, const LoadData& check,
                                       const CheckScaleTolerances& tolerances);

// Reads both load files as the program opens them, each keeping the volume
// method it was scaled by (nothing is asked or converted). Raises
// BrimloError when a file cannot be read or understood.
CheckScaleComparison CompareCheckScaleFiles(const std::string& originalFile,
                                            const std::string& checkFile,
                                            const CheckScaleTolerances& tolerances);

} // namespace brimlo
