#include "reports/MasterSummaryReport.h"

#include "reports/BusyCursorScope.h"
#include "reports/ReportPreview.h"
#include "reports/ReportTexts.h"
#include "reports/ReportTotals.h"
#include "rules/Cglobals.h"

#include <array>

namespace brimlo {

namespace {

constexpr double kTitleHeight = 20.1;
constexpr double kSummaryHeight = 2.6;
constexpr double kLayoutPixel = 25.4 / 96.0;
constexpr ReportFont kSmallFont{8.0, false};
constexpr ReportFont kSmallBold{8.0, true};
constexpr std::array<double, 3> kLines = {0.3, 5.0, 9.8};
constexpr std::array<double, 4> kGroupNames = {89.7, 122.0, 153.2, 185.5};
constexpr std::array<double, 4> kGroupVolumes = {119.3, 151.1, 182.6, 214.6};
constexpr std::array<double, 5> kGridRules = {88.1, 120.4, 151.9, 183.6, 215.4};

// One line per four groups, plus two layout pixels of air.
double DetailHeight(int groups) {
    const int lines = (groups + 3) / 4;
    return (2.0 + 18.0 * lines) * kLayoutPixel;
}

void AddHeadings(ReportBand& band) {
    const double y = 10.6;
    band.text(0.5, y, QStringLiteral("Rec #"), kSmallBold)
        .text(13.0, y, QStringLiteral("Mill #"), kSmallBold)
        .text(24.6, y, QStringLiteral("Mill CD"), kSmallBold)
        .text(36.8, y, QStringLiteral("Saw."), kSmallBold)
        .text(46.8, y, QStringLiteral("Pop"), kSmallBold)
        .text(54.5, y, QStringLiteral("Load #"), kSmallBold)
        .wrappedText(72.0, y, 11.1, QStringLiteral("Net Weight"), kSmallBold);
    for (auto [name, volume] : {std::pair{89.4, 105.8}, std::pair{121.7, 138.1},
                                std::pair{153.5, 169.6}, std::pair{185.5, 201.9}}) {
        band.text(name, y, QStringLiteral("SP  CD  PR"), kSmallBold)
            .wrappedText(volume, y, 11.9, QStringLiteral("Net Volume"), kSmallBold);
    }
    band.text(215.6, y, QStringLiteral("Logs"), kSmallBold)
        .text(224.9, y, QStringLiteral("Cull%"), kSmallBold)
        .wrappedText(235.2, y, 8.2, QStringLiteral("M3/M x1000"), kSmallBold)
        .wrappedText(246.1, y, 10.6, QStringLiteral("Wt./Vol Conv."), kSmallBold);
}

void AddGroups(ReportBand& band, const MasterReportRecord& m) {
    for (int i = 0; i < m.numGroups; ++i) {
        const SummaryGroup& g = m.groups[static_cast<std::size_t>(i)];
        const double y = kLines[static_cast<std::size_t>(i / 4)];
        const auto column = static_cast<std::size_t>(i % 4);
        band.text(kGroupNames[column], y, FieldText(g.SPCDPR), kSmallFont)
            .rightText(kGroupVolumes[column], y, Formatted(g.NETVOL, kVolumeFormat), kSmallFont);
    }
}

void AddLoadFigures(ReportBand& band, const MasterReportRecord& m, int recordNumber) {
    const double y = kLines[0];
    const HeaderBlockTexts& h = m.header;
    band.rightText(7.7, y, NumberText(int64_t{recordNumber}), kSmallFont)
        .text(9.0, y, QStringLiteral("M"), kSmallFont)
        .text(11.9, y, h.millNum, kSmallFont)
        .text(27.5, y, m.millCode, kSmallFont)
        .text(38.4, y, h.sawlogs, kSmallFont)
        .rightText(52.9, y, h.pop, kSmallFont)
        .rightText(63.5, y, h.loadNum, kSmallFont)
        .rightText(82.5, y, h.netWeight, kSmallFont)
        .text(83.1, y, QStringLiteral("KG"), kSmallFont);
    const GroupTotals totals = SumGroups(m.groups, m.numGroups);
    const LoadStatistics stats = ComputeStatistics(totals, m.trees, m.netWeight);
    // The average log size is the plain ratio, whatever its heading says.
    band.rightText(224.4, y, m.totalLogs, kSmallFont)
        .rightText(233.1, y, Formatted(CullPercent(totals.cull, totals.gross), kPercentFormat),
                   kSmallFont)
        .rightText(243.2, y, Formatted(stats.averageLogSize, kVolumeFormat), kSmallFont)
        .rightText(256.4, y, Formatted(stats.weightToVolume, kVolumeFormat), kSmallFont);
}

} // namespace

TfrmMasterSummary::TfrmMasterSummary()
    : rptMasterSummary(QStringLiteral("Master File Summary"), PageOrientation::Landscape) {}

void TfrmMasterSummary::Prepare(Dataset& master) {
    Prepare(MasterReportRows(master));
}

void TfrmMasterSummary::Prepare(std::vector<MasterReportRecord> records) {
    Prepare(MasterReportRows(std::move(records)));
}

void TfrmMasterSummary::Prepare(MasterReportRows rows) {
    rows_ = std::move(rows);
    rptMasterSummary.setTitleBand(MakeTitleBand());
    rptMasterSummary.setDetails(
        rows_.count(), [this](int index) { return DetailHeight(rows_.groupsOf(index)); },
        [this](int index) { return MakeDetailBand(index); });
    rptMasterSummary.setSummaryBand(ReportBand(kSummaryHeight, kEdgeTop));
    rptMasterSummary.setPageFooter(kFooterHeight, MakePageFooter);
    rptMasterSummary.layout();
}

ReportBand TfrmMasterSummary::MakeTitleBand() const {
    ReportBand band(kTitleHeight, kEdgeBottom);
    band.text(104.0, 2.9, QStringLiteral("MASTER FILE SUMMARY"), kTitleFont);
    AddHeadings(band);
    return band;
}

ReportBand TfrmMasterSummary::MakeDetailBand(int index) const {
    const MasterReportRecord m = rows_.record(index);
    const double height = DetailHeight(m.numGroups);
    ReportBand band(height, kEdgeSides);
    for (double x : kGridRules)
        band.vRule(x, 0.0, height);
    // A record without groups leaves a hairline band and nothing in it.
    if (m.numGroups == 0)
        return band;
    AddLoadFigures(band, m, index + 1);
    AddGroups(band, m);
    return band;
}

void PreviewMasterSummary(QWidget* parent, Dataset& master, Prompt& prompt) {
    TfrmMasterSummary form;
    {
        BusyCursorScope busy;
        form.Prepare(master);
    }
    ShowReportPreview(parent, form.report(), prompt);
}

void SaveMasterSummaryPdf(const std::string& fileName, Dataset& master) {
    TfrmMasterSummary form;
    form.Prepare(master);
    SaveReportPdf(form.report(), fileName);
}

} // namespace brimlo
