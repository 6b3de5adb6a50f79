#include "shell/WindowHooks.h"

#include "shell/DataEntryHooks.h"
#include "shell/ExportHooks.h"
#include "shell/MaintenanceChildWindow.h"
#include "shell/ReportHooks.h"

namespace brimlo {

MainWindowHooks StandardWindowHooks() {
    MainWindowHooks hooks;
    AddDataEntryHooks(hooks);
    AddReportHooks(hooks);
    AddExportHooks(hooks);
    hooks.createMaintenance = CreateMaintenanceWindow;
    hooks.createDefaults = CreateDefaultsWindow;
    // The data entry, maintenance, defaults and help windows, the reports
    // and the master export are connected here as they arrive.
    return hooks;
}

} // namespace brimlo
