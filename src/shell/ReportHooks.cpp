#include "shell/ReportHooks.h"

#include "load/LoadDocument.h"
#include "master/GuardedCommand.h"
#include "master/MasterTable.h"
#include "reports/LoadLogReport.h"
#include "reports/LoadSummaryReport.h"
#include "reports/MasterFullReport.h"
#include "reports/MasterSummaryReport.h"
#include "shell/BusyCursor.h"
#include "shell/TfrmDataEntry.h"
#include "shell/TfrmMain.h"

namespace brimlo {

namespace {

std::function<void(TfrmMain&)> MasterCommand(ReportPreviews::MasterPreview preview) {
    return [preview = std::move(preview)](TfrmMain& main) {
        if (!preview)
            return;
        RunGuarded(main.prompt(), [&] { preview(&main, main.masterView(), main.prompt()); });
    };
}

std::function<void(TfrmMain&, QWidget*)> LoadCommand(ReportPreviews::LoadPreview preview) {
    return [preview = std::move(preview)](TfrmMain& main, QWidget* loadWindow) {
        if (!preview)
            return;
        RunGuarded(main.prompt(), [&] {
            const std::optional<LoadData> load = LoadForReport(loadWindow);
            if (load)
                preview(&main, *load, main.masterRecord(), main.prompt());
        });
    };
}

} // namespace

ReportPreviews StandardReportPreviews() {
    ReportPreviews previews;
    previews.masterSummary = PreviewMasterSummary;
    previews.masterFullAll = PreviewMasterFullAll;
    previews.masterFullCurrent = PreviewMasterFullCurrent;
    previews.loadLogListing = PreviewLoadLogReport;
    previews.loadSummary = PreviewLoadSummary;
    return previews;
}

std::optional<LoadData> LoadForReport(QWidget* loadWindow) {
    auto* window = dynamic_cast<TfrmDataEntry*>(loadWindow);
    if (!window || !window->hasDocument() || !window->document().hasLoad())
        return std::nullopt;
    // Only the gathering wears the hourglass; the previews show their own
    // while they lay the report out, and none while the user reads it.
    BusyCursor busy;
    LoadDocument& document = window->document();
    // A log still being keyed belongs in the report.
    document.PostPendingEdits();
    return document.BuildLoadData();
}

void AddReportHooks(MainWindowHooks& hooks, ReportPreviews previews) {
    hooks.printMasterSummary = MasterCommand(std::move(previews.masterSummary));
    hooks.printMasterReportAll = MasterCommand(std::move(previews.masterFullAll));
    hooks.printMasterReportCurrent = MasterCommand(std::move(previews.masterFullCurrent));
    hooks.printLoadLogListing = LoadCommand(std::move(previews.loadLogListing));
    hooks.printLoadSummary = LoadCommand(std::move(previews.loadSummary));
}

} // namespace brimlo
