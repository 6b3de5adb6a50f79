#include "reports/CheckScaleReport.h"

#include "load/CheckScaleText.h"
#include "reports/BusyCursorScope.h"
#include "reports/ReportPreview.h"
#include "reports/ReportTexts.h"
#include "rules/NumberFormat.h"

#include <algorithm>
#include <map>

namespace brimlo {

namespace {

constexpr double kTitleHeight = 37.0;
constexpr double kPageHeaderHeight = 7.0;
constexpr double kLine = kSlotHeight;
constexpr double kTextTop = 0.3;
constexpr double kGap = 2.0; // above a section's title

// Group rows: one line each for gross, cull and net.
constexpr double kVolumeName = 24.0;
constexpr double kGroupOriginal = 64.0;
constexpr double kGroupCheck = 86.0;
constexpr double kGroupDifference = 108.0;
constexpr double kGroupPercent = 128.0;
constexpr double kGroupAllowed = 150.0;
constexpr double kVerdict = 154.0;

// Log rows: the fields measured differently, then litres of both scalings
// and their difference for gross, cull and net.
constexpr double kLogNumber = 10.0;
constexpr double kFieldName = 13.0;
constexpr double kFieldOriginal = 52.0;
constexpr double kFieldCheck = 68.0;
constexpr double kGrossColumns = 84.0;
constexpr double kCullColumns = 126.0;
constexpr double kNetColumns = 168.0;
constexpr double kColumnStep = 13.0;

QString Text(const std::string& cp1252) {
    return FieldText(cp1252);
}

QString Whole(int64_t value) {
    return NumberText(value);
}

QString FieldCaption(const std::string& field) {
    static const std::map<std::string, const char*> captions = {
        {"SPECIES", "Species"},     {"CONDCODE", "Condition"},  {"PRODCODE", "Product"},
        {"TOPD", "Top Dia."},       {"BUTTD", "Butt Dia."},     {"LENGTH", "Length"},
        {"CULL_TYPE", "Cull Type"}, {"CULL_METH", "Cull Meth."}};
    const auto found = captions.find(field);
    return QString::fromLatin1(found != captions.end() ? found->second : field.c_str());
}

void AddLabelledLine(ReportBand& band, double y, const char* label, const QString& value) {
    band.text(0.8, y, QString::fromLatin1(label), kBoldFont).text(24.0, y, value);
}

QString LoadText(const std::string& file, const HeaderRecord& h) {
    return Text(file) + QStringLiteral("   (load ") + Whole(h.LOAD_NUM) + QStringLiteral(", ") +
           Text(VolumeMethodName(h)) + u')';
}

void AddVolumeLine(ReportBand& band, double y, const char* name, const VolumeDifference& v) {
    band.text(kVolumeName, y, QString::fromLatin1(name))
        .rightText(kGroupOriginal, y, Formatted(v.original(), "#0.000"))
        .rightText(kGroupCheck, y, Formatted(v.check(), "#0.000"))
        .rightText(kGroupDifference, y, Formatted(v.difference(), "#0.000"))
        .rightText(kGroupPercent, y, Text(PercentText(v.percent())));
}

void AddVolumeColumns(ReportBand& band, double x, double y, int64_t original, int64_t check,
                      bool withDifference) {
    band.rightText(x, y, Whole(original)).rightText(x + kColumnStep, y, Whole(check));
    if (withDifference)
        band.rightText(x + 2 * kColumnStep, y, Whole(original - check));
}

void AddLitreCaptions(ReportBand& band, double groupY, double y, bool comparing) {
    const std::pair<double, const char*> groups[] = {
        {kGrossColumns, "Gross (l)"}, {kCullColumns, "Cull (l)"}, {kNetColumns, "Net (l)"}};
    for (const auto& [x, caption] : groups) {
        band.text(x - 8.0, groupY, QString::fromLatin1(caption), kBoldFont);
        if (!comparing)
            continue;
        band.rightText(x, y, QStringLiteral("Orig."), kBoldFont)
            .rightText(x + kColumnStep, y, QStringLiteral("Check"), kBoldFont)
            .rightText(x + 2 * kColumnStep, y, QStringLiteral("Diff."), kBoldFont);
    }
}

ReportBand SectionTitle(double height, const char* title, double width) {
    ReportBand band(height);
    band.text(0.8, kGap, QString::fromLatin1(title), kBoldFont);
    band.hRule(0.0, width, height - 0.2);
    return band;
}

ReportBand GroupHeading(double width) {
    ReportBand band = SectionTitle(kGap + 2 * kLine, "Sp-Cd-Pr groups and load (m3)", width);
    const double y = kGap + kLine;
    band.text(0.8, y, QStringLiteral("SP  CD  PR"), kBoldFont)
        .text(kVolumeName, y, QStringLiteral("Volume"), kBoldFont)
        .rightText(kGroupOriginal, y, QStringLiteral("Original"), kBoldFont)
        .rightText(kGroupCheck, y, QStringLiteral("Check"), kBoldFont)
        .rightText(kGroupDifference, y, QStringLiteral("Difference"), kBoldFont)
        .rightText(kGroupPercent, y, QStringLiteral("Diff. %"), kBoldFont)
        .rightText(kGroupAllowed, y, QStringLiteral("Allowed %"), kBoldFont)
        .text(kVerdict, y, QStringLiteral("Verdict"), kBoldFont);
    return band;
}

ReportBand GroupBand(const GroupComparison& g, bool load, double width) {
    ReportBand band(3 * kLine + (load ? 1.0 : 0.0));
    const double top = kTextTop + (load ? 1.0 : 0.0);
    if (load)
        band.hRule(0.0, width, 0.3);
    band.text(0.8, top, load ? QStringLiteral("LOAD") : Text(g.key), load ? kBoldFont : kPlainFont);
    AddVolumeLine(band, top, "Gross", g.gross);
    AddVolumeLine(band, top + kLine, "Cull", g.cull);
    AddVolumeLine(band, top + 2 * kLine, "Net", g.net);
    band.rightText(kGroupAllowed, top, Formatted(g.allowedGrossPercent, "#0.00"))
        .rightText(kGroupAllowed, top + 2 * kLine, Formatted(g.allowedNetPercent, "#0.00"))
        .text(kVerdict, top, Text(g.verdict()), g.within() ? kPlainFont : kBoldFont);
    return band;
}

ReportBand LogHeading(double width) {
    ReportBand band = SectionTitle(kGap + 3 * kLine, "Logs measured differently", width);
    const double y = kGap + 2 * kLine;
    band.rightText(kLogNumber, y, QStringLiteral("Log"), kBoldFont)
        .text(kFieldName, y, QStringLiteral("Field"), kBoldFont)
        .rightText(kFieldOriginal, y, QStringLiteral("Original"), kBoldFont)
        .rightText(kFieldCheck, y, QStringLiteral("Check"), kBoldFont);
    AddLitreCaptions(band, kGap + kLine, y, true);
    return band;
}

int LogLines(const LogComparison& log) {
    return std::max<int>(1, static_cast<int>(log.fields.size()));
}

ReportBand LogBand(const LogComparison& log) {
    ReportBand band(LogLines(log) * kLine);
    const double y = kTextTop;
    band.rightText(kLogNumber, y, Whole(log.logNumber));
    AddVolumeColumns(band, kGrossColumns, y, log.original.gross, log.check.gross, true);
    AddVolumeColumns(band, kCullColumns, y, log.original.cull, log.check.cull, true);
    AddVolumeColumns(band, kNetColumns, y, log.original.net, log.check.net, true);
    double line = y;
    for (const LogFieldDifference& f : log.fields) {
        band.text(kFieldName, line, FieldCaption(f.field))
            .rightText(kFieldOriginal, line, Text(f.original))
            .rightText(kFieldCheck, line, Text(f.check));
        line += kLine;
    }
    return band;
}

ReportBand OneSideHeading(double width) {
    ReportBand band = SectionTitle(kGap + 3 * kLine, "Logs in one scaling only", width);
    const double y = kGap + 2 * kLine;
    band.rightText(kLogNumber, y, QStringLiteral("Log"), kBoldFont)
        .text(kFieldName, y, QStringLiteral("Scaling"), kBoldFont)
        .text(kFieldCheck - 24.0, y, QStringLiteral("SP  CD  PR"), kBoldFont);
    AddLitreCaptions(band, y, y, false);
    return band;
}

ReportBand OneSideBand(const UnmatchedLog& log) {
    ReportBand band(kLine);
    const double y = kTextTop;
    band.rightText(kLogNumber, y, Whole(log.logNumber))
        .text(kFieldName, y, Text(SideText(log.side)))
        .text(kFieldCheck - 24.0, y, Text(log.groupKey))
        .rightText(kGrossColumns, y, Whole(log.volumes.gross))
        .rightText(kCullColumns, y, Whole(log.volumes.cull))
        .rightText(kNetColumns, y, Whole(log.volumes.net));
    return band;
}

ReportBand PageHeader() {
    ReportBand band(kPageHeaderHeight, kEdgeBottom);
    band.text(0.8, 1.0, QStringLiteral("Check Scale Comparison (continued)"), kBoldFont);
    return band;
}

} // namespace

TfrmCheckScaleReport::TfrmCheckScaleReport()
    : rptCheckScale(QStringLiteral("BRIMLO Check Scale Comparison"), PageOrientation::Portrait) {}

void TfrmCheckScaleReport::Prepare(const CheckScaleComparison& comparison) {
    comparison_ = comparison;
    CollectRows();
    rptCheckScale.setTitleBand(MakeTitleBand());
    rptCheckScale.setPageHeader(PageHeader());
    rptCheckScale.setDetails(
        static_cast<int>(rows_.size()),
        [this](int i) { return RowHeight(rows_[static_cast<std::size_t>(i)]); },
        [this](int i) { return RowBand(rows_[static_cast<std::size_t>(i)]); });
    rptCheckScale.setPageFooter(kFooterHeight, MakePageFooter);
    rptCheckScale.layout();
}

void TfrmCheckScaleReport::CollectRows() {
    rows_.clear();
    rows_.push_back({RowKind::GroupHeading, 0});
    for (std::size_t g = 0; g < comparison_.groups.size(); ++g)
        rows_.push_back({RowKind::Group, g});
    rows_.push_back({RowKind::Load, 0});
    rows_.push_back({RowKind::LogHeading, 0});
    const std::size_t before = rows_.size();
    for (std::size_t i = 0; i < comparison_.logs.size(); ++i)
        if (comparison_.logs[i].differs())
            rows_.push_back({RowKind::Log, i});
    if (rows_.size() == before)
        rows_.push_back({RowKind::NoLog, 0});
    if (comparison_.unmatched.empty())
        return;
    rows_.push_back({RowKind::OneSideHeading, 0});
    for (std::size_t i = 0; i < comparison_.unmatched.size(); ++i)
        rows_.push_back({RowKind::OneSide, i});
}

double TfrmCheckScaleReport::RowHeight(const Row& row) const {
    return RowBand(row).height();
}

ReportBand TfrmCheckScaleReport::RowBand(const Row& row) const {
    const double width = rptCheckScale.bandWidth();
    switch (row.kind) {
    case RowKind::GroupHeading:
        return GroupHeading(width);
    case RowKind::Group:
        return GroupBand(comparison_.groups[row.index], false, width);
    case RowKind::Load:
        return GroupBand(comparison_.load, true, width);
    case RowKind::LogHeading:
        return LogHeading(width);
    case RowKind::Log:
        return LogBand(comparison_.logs[row.index]);
    case RowKind::NoLog:
        return ReportBand(kLine).text(kFieldName, kTextTop, QStringLiteral("No log differs."));
    case RowKind::OneSideHeading:
        return OneSideHeading(width);
    case RowKind::OneSide:
        return OneSideBand(comparison_.unmatched[row.index]);
    }
    return ReportBand(kLine);
}

ReportBand TfrmCheckScaleReport::MakeTitleBand() const {
    const CheckScaleComparison& c = comparison_;
    ReportBand band(kTitleHeight, kEdgeBottom);
    band.text(58.0, 2.9, QStringLiteral("CHECK SCALE COMPARISON"), kTitleFont);
    AddLabelledLine(band, 10.0, "Original:", LoadText(c.originalFile, c.originalHeader));
    AddLabelledLine(band, 15.0, "Check:", LoadText(c.checkFile, c.checkHeader));
    AddLabelledLine(band, 20.0, "Tolerances:", Text(ToleranceText(c.tolerances)));
    AddLabelledLine(band, 25.0, "Logs:",
                    Whole(static_cast<int64_t>(c.logs.size())) + QStringLiteral(" compared, ") +
                        Whole(c.differingLogs()) + QStringLiteral(" measured differently, ") +
                        Whole(static_cast<int64_t>(c.unmatched.size())) +
                        QStringLiteral(" in one scaling only"));
    band.text(0.8, 30.5, QStringLiteral("Verdict:"), kBoldFont)
        .text(24.0, 30.5, QStringLiteral("load ") + Text(c.load.verdict()), kBoldFont);
    return band;
}

void PreviewCheckScaleReport(QWidget* parent, const CheckScaleComparison& comparison,
                             Prompt& prompt) {
    TfrmCheckScaleReport form;
    {
        BusyCursorScope busy;
        form.Prepare(comparison);
    }
    ShowReportPreview(parent, form.report(), prompt);
}

void SaveCheckScaleReportPdf(const std::string& fileName, const CheckScaleComparison& comparison) {
    TfrmCheckScaleReport form;
    form.Prepare(comparison);
    SaveReportPdf(form.report(), fileName);
}

} // namespace brimlo
