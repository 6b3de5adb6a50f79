#include "reports/MasterFullReport.h"

#include "master/MasterFields.h"
#include "reports/BusyCursorScope.h"
#include "reports/ReportPreview.h"
#include "reports/ReportTexts.h"
#include "reports/ReportTotals.h"
#include "rules/Cglobals.h"
#include "support/Dataset.h"

#include <array>
#include <functional>

namespace brimlo {

namespace {

constexpr double kTitleHeight = 14.6;
constexpr double kDetailDesignedHeight = 115.6;
constexpr std::array<double, 12> kRows = {37.6, 42.3, 47.1, 51.9, 56.4, 60.9,
                                          65.6, 70.1, 74.9, 79.6, 84.1, 88.9};

double ShiftFor(int groups) {
    return kSlotHeight * (LoadSummary::kMaxGroups - groups);
}

void AddGroupCaptions(ReportBand& band) {
    const double y = 31.8;
    band.text(10.3, y, QStringLiteral("SP  CD  PR"), kBoldFont)
        .text(37.6, y, QStringLiteral("Logs"), kBoldFont)
        .text(54.0, y, QStringLiteral("Length"), kBoldFont)
        .text(73.6, y, QStringLiteral("Gross Vol."), kBoldFont)
        .text(97.1, y, QStringLiteral("Cull Vol."), kBoldFont)
        .text(118.3, y, QStringLiteral("Net Vol."), kBoldFont)
        .text(137.1, y, QStringLiteral("Cull %"), kBoldFont);
}

// Stored values through the display formats of the master table's fields.
void AddGroupRow(ReportBand& band, const SummaryGroup& g, double y) {
    band.rightText(27.5, y, FieldText(g.SPCDPR))
        .rightText(46.0, y, NumberText(int64_t{g.LOGNUMS}))
        .rightText(65.4, y, Formatted(g.LENGTH, kLengthFormat))
        .rightText(90.5, y, Formatted(g.GROSSVOL, kVolumeFormat))
        .rightText(111.1, y, Formatted(g.CULLVOL, kVolumeFormat))
        .rightText(131.0, y, Formatted(g.NETVOL, kVolumeFormat))
        .rightText(148.4, y, Formatted(g.CULLPER, kPercentFormat));
}

void AddTotals(ReportBand& band, const GroupTotals& t, double shift) {
    const double y = 97.1 - shift;
    band.hRule(11.6, 183.9, 95.8 - shift);
    band.text(13.0, y, QStringLiteral("TOTALS"), kBoldFont)
        .rightText(46.0, y, NumberText(t.logs))
        .rightText(65.4, y, Formatted(t.length, kLengthFormat))
        .rightText(90.5, y, Formatted(t.gross, kVolumeFormat))
        .rightText(111.1, y, Formatted(t.cull, kVolumeFormat))
        .rightText(131.0, y, Formatted(t.net, kVolumeFormat))
        .rightText(148.4, y, Formatted(CullPercent(t.cull, t.gross), kPercentFormat));
}

void AddStatistics(ReportBand& band, const MasterReportRecord& m, const GroupTotals& totals,
                   double shift) {
    const double captions = 104.8 - shift;
    band.text(32.5, captions, QStringLiteral("Trees"), kBoldFont)
        .text(49.5, captions, QStringLiteral("Gross M3 / Trees"), kBoldFont)
        .text(84.1, captions, QStringLiteral("Avg. Log Size (M3 / M)"), kBoldFont)
        .text(125.1, captions, QStringLiteral("Wt/Vol Conv. (Kg / M3)"), kBoldFont);
    const LoadStatistics stats = ComputeStatistics(totals, m.trees, m.netWeight);
    const double y = 110.3 - shift;
    band.rightText(40.2, y, NumberText(m.trees))
        .text(58.7, y, Formatted(stats.grossPerTree, kTreeVolumeFormat))
        .text(98.2, y, Formatted(stats.averageLogSize, kVolumeFormat))
        .text(137.8, y, Formatted(stats.weightToVolume, kVolumeFormat));
}

// Shows only the current record for as long as the guard lives; the table
// is unfiltered again afterwards, however the report ends.
class CurrentRecordFilter {
public:
    explicit CurrentRecordFilter(Dataset& master) : master_(master), place_(master.bookmark()) {
        const Record current = master.record();
        master.setFilter({{"MILLCODE", current.at(kMasterMillCode)},
                          {"POP", current.at(kMasterPop)},
                          {"LOAD_NUM", current.at(kMasterLoadNum)}});
        master.setFiltered(true);
    }
    // The maintenance window stays on the record it showed.
    ~CurrentRecordFilter() {
        master_.setFiltered(false);
        master_.setFilter({});
        if (master_.bookmarkValid(place_))
            master_.gotoBookmark(place_);
    }
    CurrentRecordFilter(const CurrentRecordFilter&) = delete;
    CurrentRecordFilter& operator=(const CurrentRecordFilter&) = delete;

private:
    Dataset& master_;
    Bookmark place_;
};

void PreviewPrepared(QWidget* parent, Dataset& master, Prompt& prompt) {
    TfrmMasterFull form;
    {
        BusyCursorScope busy;
        form.Prepare(master);
    }
    ShowReportPreview(parent, form.report(), prompt);
}

} // namespace

TfrmMasterFull::TfrmMasterFull()
    : rptMasterFull(QStringLiteral("Master File Full Report"), PageOrientation::Portrait) {}

void TfrmMasterFull::Prepare(Dataset& master) {
    Prepare(MasterReportRows(master));
}

void TfrmMasterFull::Prepare(std::vector<MasterReportRecord> records) {
    Prepare(MasterReportRows(std::move(records)));
}

void TfrmMasterFull::Prepare(MasterReportRows rows) {
    rows_ = std::move(rows);
    ReportBand title(kTitleHeight);
    title.text(68.0, 2.9, QStringLiteral("MASTER FILE FULL REPORT"), kTitleFont);
    rptMasterFull.setTitleBand(std::move(title));
    rptMasterFull.setDetails(
        rows_.count(),
        [this](int index) { return kDetailDesignedHeight - ShiftFor(rows_.groupsOf(index)); },
        [this](int index) { return MakeDetailBand(index); });
    rptMasterFull.setPageFooter(kFooterHeight, MakePageFooter);
    rptMasterFull.layout();
}

ReportBand TfrmMasterFull::MakeDetailBand(int index) const {
    const MasterReportRecord m = rows_.record(index);
    const double shift = ShiftFor(m.numGroups);
    ReportBand band(kDetailDesignedHeight - shift, kEdgeAll);
    AddHeaderBlock(band, m.header, 0.3, rptMasterFull.bandWidth(), false);
    AddGroupCaptions(band);
    for (int i = 0; i < m.numGroups; ++i)
        AddGroupRow(band, m.groups[static_cast<std::size_t>(i)],
                    kRows[static_cast<std::size_t>(i)]);
    const GroupTotals totals = SumGroups(m.groups, m.numGroups);
    AddTotals(band, totals, shift);
    AddStatistics(band, m, totals, shift);
    return band;
}

void PreviewMasterFullAll(QWidget* parent, Dataset& master, Prompt& prompt) {
    PreviewPrepared(parent, master, prompt);
}

void PreviewMasterFullCurrent(QWidget* parent, Dataset& master, Prompt& prompt) {
    if (master.isEmpty())
        return;
    CurrentRecordFilter onlyCurrent(master);
    PreviewPrepared(parent, master, prompt);
}

void SaveMasterFullPdf(const std::string& fileName, Dataset& master, bool currentOnly) {
    TfrmMasterFull form;
    if (currentOnly && !master.isEmpty()) {
        CurrentRecordFilter onlyCurrent(master);
        form.Prepare(master);
    } else {
        form.Prepare(master);
    }
    SaveReportPdf(form.report(), fileName);
}

} // namespace brimlo
