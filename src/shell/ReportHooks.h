#pragma once

#include "load/LoadData.h"
#include "shell/MainWindowHooks.h"

#include <functional>
#include <optional>

class QWidget;

namespace brimlo {

class CMaster;
class Dataset;
class Prompt;
class TfrmMain;

// The modal previews the report commands end in, given the main window's
// prompt; tests replace them.
struct ReportPreviews {
    using MasterPreview = std::function<void(QWidget* parent, Dataset& master, Prompt& prompt)>;
    using LoadPreview =
        std::function<void(QWidget* parent, const LoadData& load, CMaster& master, Prompt& prompt)>;

    MasterPreview masterSummary;
    MasterPreview masterFullAll;
    MasterPreview masterFullCurrent;
    LoadPreview loadLogListing;
    LoadPreview loadSummary;
};

// The program's own previews.
ReportPreviews StandardReportPreviews();

// The load of a data entry window as the reports print it, its pending
// edit posted first; nothing when the window holds no load.
std::optional<LoadData> LoadForReport(QWidget* loadWindow);

// Plugs the master and load reports into the main window's menu. "Print
// Full Load Report" is the log listing followed by the summary, so it needs
// no hook of its own.
void AddReportHooks(MainWindowHooks& hooks, ReportPreviews previews = StandardReportPreviews());

} // namespace brimlo
