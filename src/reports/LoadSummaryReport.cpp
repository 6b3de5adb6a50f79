#include "reports/LoadSummaryReport.h"

#include "master/CMaster.h"
#include "reports/BusyCursorScope.h"
#include "reports/LoadLogReport.h"
#include "reports/ReportPreview.h"
#include "reports/ReportTexts.h"
#include "reports/ReportTotals.h"
#include "rules/Cglobals.h"

#include <algorithm>
#include <array>

namespace brimlo {

namespace {

constexpr double kTitleHeight = 38.6;
constexpr double kDetailDesignedHeight = 74.4;
constexpr double kSummaryHeight = 31.8;
constexpr std::array<double, 12> kRows = {7.1,  11.9, 16.7, 21.4, 25.9, 31.2,
                                          34.9, 39.7, 44.2, 49.2, 53.7, 58.5};

void AddGroupCaptions(ReportBand& band) {
    const double y = 1.3;
    band.text(10.6, y, QStringLiteral("SP  CD  PR"), kBoldFont)
        .text(37.8, y, QStringLiteral("Logs"), kBoldFont)
        .text(54.2, y, QStringLiteral("Length"), kBoldFont)
        .text(72.8, y, QStringLiteral("Gross Vol."), kBoldFont)
        .text(99.0, y, QStringLiteral("Cull Vol."), kBoldFont)
        .text(121.4, y, QStringLiteral("Net Vol."), kBoldFont)
        .text(140.2, y, QStringLiteral("Cull %"), kBoldFont);
}

void AddGroupRow(ReportBand& band, const SummaryGroup& g, double y) {
    band.text(11.4, y, FieldText(g.SPCDPR))
        .rightText(45.5, y, NumberText(int64_t{g.LOGNUMS}))
        .rightText(64.8, y, Formatted(g.LENGTH, kLengthFormat))
        .rightText(87.8, y, Formatted(g.GROSSVOL, kVolumeFormat))
        .rightText(111.7, y, Formatted(g.CULLVOL, kVolumeFormat))
        .rightText(134.1, y, Formatted(g.NETVOL, kVolumeFormat))
        .rightText(149.5, y, Formatted(CullPercent(g.CULLVOL, g.GROSSVOL), kPercentFormat));
}

void AddTotalsLine(ReportBand& band, const GroupTotals& t, double shift) {
    const double y = 66.7 - shift;
    band.hRule(11.9, 184.2, 65.4 - shift);
    band.text(13.2, y, QStringLiteral("TOTALS"), kBoldFont)
        .rightText(46.0, y, NumberText(t.logs))
        .rightText(65.4, y, Formatted(t.length, kLengthFormat))
        .rightText(88.4, y, Formatted(t.gross, kVolumeFormat))
        .rightText(111.7, y, Formatted(t.cull, kVolumeFormat))
        .rightText(134.1, y, Formatted(t.net, kVolumeFormat))
        .rightText(149.5, y, Formatted(CullPercent(t.cull, t.gross), kPercentFormat));
}

} // namespace

TfrmLoadSummary::TfrmLoadSummary()
    : rptLoadSummary(QStringLiteral("BRIMLO Load Summary"), PageOrientation::Portrait) {}

void TfrmLoadSummary::Prepare(const LoadData& load, CMaster& master) {
    master.BuildFromLoad(load.header, load.logs);
    rptLoadSummary.setTitleBand(MakeTitleBand(load.header));
    ReportBand detail = MakeDetailBand(master);
    const double detailHeight = detail.height();
    rptLoadSummary.setDetails(
        1, [detailHeight](int) { return detailHeight; }, [detail](int) { return detail; });
    rptLoadSummary.setSummaryBand(MakeSummaryBand(master));
    rptLoadSummary.setPageFooter(kFooterHeight, MakePageFooter);
    rptLoadSummary.layout();
}

ReportBand TfrmLoadSummary::MakeTitleBand(const HeaderRecord& header) const {
    ReportBand band(kTitleHeight, kEdgeBottom);
    band.text(81.0, 2.9, QStringLiteral("LOAD SUMMARY"), kTitleFont);
    AddHeaderBlock(band, LoadHeaderTexts(header), 13.0, rptLoadSummary.bandWidth(), true);
    return band;
}

ReportBand TfrmLoadSummary::MakeDetailBand(const CMaster& master) const {
    const int groups = UsedGroups(master.summary.NUM_GROUPS);
    const double shift = kSlotHeight * (LoadSummary::kMaxGroups - groups);
    ReportBand band(kDetailDesignedHeight - shift, kEdgeSides);
    AddGroupCaptions(band);
    for (int i = 0; i < groups; ++i)
        AddGroupRow(band, master.summary.groups[static_cast<std::size_t>(i)],
                    kRows[static_cast<std::size_t>(i)]);
    AddTotalsLine(band, SumGroups(master.summary.groups, groups), shift);
    return band;
}

ReportBand TfrmLoadSummary::MakeSummaryBand(const CMaster& master) const {
    const GroupTotals totals =
        SumGroups(master.summary.groups, UsedGroups(master.summary.NUM_GROUPS));
    const LoadStatistics stats = ComputeStatistics(totals, master.TREES, master.NET_WEIGHT);
    ReportBand band(kSummaryHeight, kEdgeAll);
    band.text(32.8, 0.3, QStringLiteral("Trees"), kBoldFont)
        .text(49.7, 0.3, QStringLiteral("Gross M3 / Trees"), kBoldFont)
        .text(84.4, 0.3, QStringLiteral("Avg. Log Size (M3 / M)"), kBoldFont)
        .text(125.4, 0.3, QStringLiteral("Wt/Vol Conv. (Kg / M3)"), kBoldFont);
    band.text(34.7, 5.8, NumberText(int64_t{master.TREES}))
        .text(59.0, 5.8, Formatted(stats.grossPerTree, kTreeVolumeFormat))
        .text(98.4, 5.8, Formatted(stats.averageLogSize, kVolumeFormat))
        .text(138.1, 5.8, Formatted(stats.weightToVolume, kVolumeFormat));
    band.hRule(0.0, rptLoadSummary.bandWidth(), 12.2)
        .vRule(63.0, 12.2, kSummaryHeight)
        .vRule(134.9, 12.2, kSummaryHeight);
    band.text(6.1, 14.6, QStringLiteral("Scaler:"), kBoldFont)
        .text(64.3, 14.6, QStringLiteral("Check Scaler:"), kBoldFont)
        .text(136.0, 14.6, QStringLiteral("Audit Check By:"), kBoldFont);
    return band;
}

void PreviewLoadSummary(QWidget* parent, const LoadData& load, CMaster& master, Prompt& prompt) {
    TfrmLoadSummary form;
    {
        BusyCursorScope busy;
        form.Prepare(load, master);
    }
    ShowReportPreview(parent, form.report(), prompt);
}

void PreviewFullLoadReport(QWidget* parent, const LoadData& load, CMaster& master, Prompt& prompt) {
    PreviewLoadLogReport(parent, load, master, prompt);
    PreviewLoadSummary(parent, load, master, prompt);
}

void SaveLoadSummaryPdf(const std::string& fileName, const LoadData& load, CMaster& master) {
    TfrmLoadSummary form;
    form.Prepare(load, master);
    SaveReportPdf(form.report(), fileName);
}

} // namespace brimlo
