#include "reports/LoadLogReport.h"

#include "master/CMaster.h"
#include "reports/BusyCursorScope.h"
#include "reports/ReportPreview.h"
#include "reports/ReportTexts.h"
#include "reports/ReportTotals.h"
#include "rules/Cglobals.h"

#include <array>

namespace brimlo {

namespace {

constexpr double kTitleHeight = 54.0;
constexpr double kPageHeaderHeight = 15.9;
constexpr double kDetailHeight = kSlotHeight;
constexpr double kDetailTextTop = 0.3;
constexpr double kSummaryDesignedHeight = 62.2;
constexpr std::array<double, 12> kSummaryRows = {5.6,  10.3, 15.1, 19.8, 24.3, 29.6,
                                                 33.6, 38.1, 42.6, 47.6, 52.1, 56.9};

// Smalian's formula lists the butt diameter inside the GROSS group, which
// pushes the gross and deduct columns to the right.
constexpr double kSmalianShift = 18.5;

struct LogColumns {
    double shift;
    double grossCaption;
    double buttHeading;
    double buttRight;
};

LogColumns ColumnsFor(bool smalian) {
    if (smalian)
        return {kSmalianShift, 82.3, 78.3, 89.4};
    return {0.0, 73.0, 131.5, 142.6};
}

void AddColumnHeadings(ReportBand& band, double groupTop, double captionTop, double ruleTop,
                       double ruleBottom, bool smalian) {
    const LogColumns c = ColumnsFor(smalian);
    for (double x : {37.6, 54.5, 104.8 + c.shift, 127.0 + c.shift, 159.0})
        band.vRule(x, ruleTop, ruleBottom);
    band.text(c.grossCaption, groupTop, QStringLiteral("GROSS"), kBoldFont)
        .text(108.5 + c.shift, groupTop, QStringLiteral("DEDUCT"), kBoldFont);
    band.text(39.4, captionTop, QStringLiteral("Log No."), kBoldFont)
        .text(55.3, captionTop, QStringLiteral("SP"), kBoldFont)
        .text(62.4, captionTop, QStringLiteral("CD"), kBoldFont)
        .text(69.3, captionTop, QStringLiteral("PR"), kBoldFont)
        .text(c.buttHeading, captionTop, QStringLiteral("Butt. Dia."), kBoldFont)
        .text(78.3 + c.shift, captionTop, QStringLiteral("TD"), kBoldFont)
        .text(85.7 + c.shift, captionTop, QStringLiteral("LG"), kBoldFont)
        .text(94.5 + c.shift, captionTop, QStringLiteral("GVol"), kBoldFont)
        .text(108.0 + c.shift, captionTop, QStringLiteral("Type"), kBoldFont)
        .text(117.5 + c.shift, captionTop, QStringLiteral("CVol"), kBoldFont)
        .text(150.0, captionTop, QStringLiteral("Flag"), kBoldFont);
}

} // namespace

TfrmLoadLogReport::TfrmLoadLogReport()
    : rptLogListing(QStringLiteral("BRIMLO Log Listing"), PageOrientation::Portrait) {}

void TfrmLoadLogReport::Prepare(const LoadData& load, CMaster& master) {
    master.BuildFromLoad(load.header, load.logs);
    header_ = load.header;
    logs_ = load.logs;
    smalian_ = load.header.VOL_CALC_METH == "S";

    rptLogListing.setTitleBand(MakeTitleBand());
    rptLogListing.setPageHeader(MakePageHeader());
    // A load without logs still prints one (empty) detail line.
    const int lines = logs_.empty() ? 1 : static_cast<int>(logs_.size());
    rptLogListing.setDetails(
        lines, [](int) { return kDetailHeight; },
        [this](int index) { return MakeDetailBand(index); });
    rptLogListing.setSummaryBand(MakeSummaryBand(master));
    rptLogListing.setPageFooter(kFooterHeight, MakePageFooter);
    rptLogListing.layout();
}

ReportBand TfrmLoadLogReport::MakeTitleBand() const {
    const double width = rptLogListing.bandWidth();
    ReportBand band(kTitleHeight, kEdgeBottom);
    band.text(81.0, 2.9, QStringLiteral("Log Listing"), kTitleFont);
    AddHeaderBlock(band, LoadHeaderTexts(header_), 13.0, width, false);
    band.vRule(0.0, 23.8, kTitleHeight).vRule(195.3, 23.8, kTitleHeight);
    band.hRule(0.0, width, 38.6);
    AddColumnHeadings(band, 40.7, 47.6, 38.6, kTitleHeight, smalian_);
    return band;
}

ReportBand TfrmLoadLogReport::MakePageHeader() const {
    ReportBand band(kPageHeaderHeight, kEdgeAll);
    AddColumnHeadings(band, 2.4, 9.3, 0.0, kPageHeaderHeight, smalian_);
    return band;
}

ReportBand TfrmLoadLogReport::MakeDetailBand(int index) const {
    ReportBand band(kDetailHeight, kEdgeSides);
    if (logs_.empty())
        return band;
    const LogRecord& log = logs_.at(static_cast<std::size_t>(index));
    const LogColumns c = ColumnsFor(smalian_);
    const double y = kDetailTextTop;
    band.rightText(51.3, y, NumberText(int64_t{log.LOGNUM}))
        .text(55.0, y, FieldText(log.SPECIES))
        .text(62.7, y, FieldText(log.CONDCODE))
        .text(69.6, y, FieldText(log.PRODCODE))
        .rightText(c.buttRight, y, NumberText(int64_t{log.BUTTD}))
        .rightText(83.9 + c.shift, y, NumberText(int64_t{log.TOPD}))
        .rightText(92.3 + c.shift, y, NumberText(int64_t{log.LENGTH}))
        .rightText(104.8 + c.shift, y, NumberText(log.GROSSVOL))
        .text(110.6 + c.shift, y, FieldText(log.CULL_TYPE))
        .rightText(126.7 + c.shift, y, NumberText(log.CULLVOL))
        .text(151.3, y, FieldText(log.FLAG));
    return band;
}

ReportBand TfrmLoadLogReport::MakeSummaryBand(const CMaster& master) const {
    const LoadSummary& summary = master.summary;
    const int groups = UsedGroups(summary.NUM_GROUPS);
    ReportBand band(kSummaryDesignedHeight - kSlotHeight * (LoadSummary::kMaxGroups - groups),
                    kEdgeTop);
    band.text(54.5, 0.3, QStringLiteral("TOTALS"), kBoldFont)
        .text(80.4, 0.3, QStringLiteral("Length"), kBoldFont)
        .text(94.5, 0.3, QStringLiteral("GVol."), kBoldFont)
        .text(113.2, 0.3, QStringLiteral("Cull Vol."), kBoldFont)
        .hRule(0.0, rptLogListing.bandWidth(), kSlotHeight);
    for (int i = 0; i < groups; ++i) {
        const SummaryGroup& g = summary.groups[static_cast<std::size_t>(i)];
        const double y = kSummaryRows[static_cast<std::size_t>(i)];
        band.text(54.0, y, FieldText(g.SPCDPR))
            .rightText(90.8, y, Formatted(g.LENGTH, kLengthFormat))
            .rightText(106.4, y, Formatted(g.GROSSVOL, kVolumeFormat))
            .rightText(126.2, y, Formatted(g.CULLVOL, kVolumeFormat));
    }
    return band;
}

void PreviewLoadLogReport(QWidget* parent, const LoadData& load, CMaster& master, Prompt& prompt) {
    TfrmLoadLogReport form;
    {
        BusyCursorScope busy;
        form.Prepare(load, master);
    }
    ShowReportPreview(parent, form.report(), prompt);
}

void SaveLoadLogReportPdf(const std::string& fileName, const LoadData& load, CMaster& master) {
    TfrmLoadLogReport form;
    form.Prepare(load, master);
    SaveReportPdf(form.report(), fileName);
}

} // namespace brimlo
