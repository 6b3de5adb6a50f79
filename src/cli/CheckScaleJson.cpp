#include "cli/CheckScaleJson.h"

#include "load/CheckScaleText.h"
#include "support/Cp1252.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace brimlo::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

QJsonValue Text(const std::string& cp1252) {
    return FromCp1252(cp1252);
}

// Volumes to the litre, as the reports print them in cubic metres.
QJsonValue Cubic(double m3) {
    return std::round(m3 * 1000.0) / 1000.0;
}

QJsonValue PercentValue(const std::optional<double>& percent) {
    return percent ? QJsonValue(*percent) : QJsonValue(QJsonValue::Null);
}

QJsonObject VolumeJson(const VolumeDifference& v) {
    return {{u"original"_s, Cubic(v.original())},
            {u"check"_s, Cubic(v.check())},
            {u"difference"_s, Cubic(v.difference())},
            {u"percent"_s, PercentValue(v.percent())}};
}

QJsonObject GroupJson(const GroupComparison& g) {
    QJsonObject o{{u"originalLogs"_s, g.originalLogs},
                  {u"checkLogs"_s, g.checkLogs},
                  {u"gross"_s, VolumeJson(g.gross)},
                  {u"cull"_s, VolumeJson(g.cull)},
                  {u"net"_s, VolumeJson(g.net)},
                  {u"checkDefectPercent"_s, g.checkDefectPercent},
                  {u"allowedGrossPercent"_s, g.allowedGrossPercent},
                  {u"allowedNetPercent"_s, g.allowedNetPercent},
                  {u"grossWithin"_s, g.grossWithin},
                  {u"netWithin"_s, g.netWithin},
                  {u"verdict"_s, Text(g.verdict())}};
    if (!g.key.empty())
        o.insert(u"group"_s, Text(g.key));
    return o;
}

QJsonObject VolumesJson(const LogVolumes& v) {
    return {{u"gross"_s, v.gross}, {u"cull"_s, v.cull}, {u"net"_s, v.net}};
}

QJsonArray LogsJson(const CheckScaleComparison& c) {
    QJsonArray logs;
    for (const LogComparison& log : c.logs) {
        if (!log.differs())
            continue;
        QJsonArray fields;
        for (const LogFieldDifference& f : log.fields)
            fields.append(QJsonObject{{u"field"_s, Text(f.field)},
                                      {u"original"_s, Text(f.original)},
                                      {u"check"_s, Text(f.check)}});
        logs.append(QJsonObject{{u"log"_s, log.logNumber},
                                {u"fields"_s, fields},
                                {u"original"_s, VolumesJson(log.original)},
                                {u"check"_s, VolumesJson(log.check)}});
    }
    return logs;
}

QJsonArray UnmatchedJson(const CheckScaleComparison& c) {
    QJsonArray logs;
    for (const UnmatchedLog& log : c.unmatched)
        logs.append(
            QJsonObject{{u"log"_s, log.logNumber},
                        {u"side"_s, log.side == ScaleSide::Original ? u"original"_s : u"check"_s},
                        {u"group"_s, Text(log.groupKey)},
                        {u"volumes"_s, VolumesJson(log.volumes)}});
    return logs;
}

QJsonObject TolerancesJson(const CheckScaleTolerances& t) {
    QJsonObject o{{u"grossPercent"_s, t.grossPercent}, {u"netPercent"_s, t.netPercent}};
    if (t.defectRule)
        o.insert(u"defectRule"_s,
                 QJsonObject{{u"factor"_s, t.defectFactor}, {u"maxPercent"_s, t.defectMaxPercent}});
    return o;
}

QJsonObject LoadJson(const std::string& file, const HeaderRecord& h) {
    return {{u"file"_s, Text(file)},
            {u"loadNumber"_s, h.LOAD_NUM},
            {u"volumeMethod"_s, Text(VolumeMethodName(h))}};
}

} // namespace

std::string CheckScaleJson(const CheckScaleComparison& c) {
    const QJsonObject root{{u"original"_s, LoadJson(c.originalFile, c.originalHeader)},
                           {u"check"_s, LoadJson(c.checkFile, c.checkHeader)},
                           {u"tolerances"_s, TolerancesJson(c.tolerances)},
                           {u"logsCompared"_s, static_cast<int>(c.logs.size())},
                           {u"logsDiffering"_s, c.differingLogs()},
                           {u"groups"_s,
                            [&] {
                                QJsonArray groups;
                                for (const GroupComparison& g : c.groups)
                                    groups.append(GroupJson(g));
                                return groups;
                            }()},
                           {u"load"_s, GroupJson(c.load)},
                           {u"logs"_s, LogsJson(c)},
                           {u"unmatched"_s, UnmatchedJson(c)}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

} // namespace brimlo::cli
