#include "shell/MaintenanceChildWindow.h"

#include "master/MainTables.h"
#include "shell/ChildPlacement.h"
#include "shell/TfrmDefaults.h"
#include "shell/TfrmMain.h"

#include <QAction>

namespace brimlo {

namespace {

// The main window already packs the table and checks for an empty master
// file after every deletion it hears of from the table.
MaintenanceCallbacks CallbacksFor(TfrmMain& main) {
    MaintenanceCallbacks callbacks;
    callbacks.enableReportCurrent = [&main](bool on) {
        if (QAction* command = main.action("mnuPrintCurrentMaster"))
            command->setEnabled(on);
    };
    return callbacks;
}

} // namespace

MaintenanceChildWindow::MaintenanceChildWindow(TfrmMain& main)
    : TfrmMasterMaintenance(main.tables().master(), CallbacksFor(main)) {}

// Opens 630 by 455 at the top left corner, whatever its layout would ask.
void MaintenanceChildWindow::showEvent(QShowEvent* event) {
    TfrmMasterMaintenance::showEvent(event);
    if (placed_)
        return;
    placed_ = true;
    PlaceChildWindow(this, 630, 455);
}

QWidget* CreateMaintenanceWindow(TfrmMain& main) {
    return new MaintenanceChildWindow(main);
}

QWidget* CreateDefaultsWindow(TfrmMain& main) {
    return new TfrmDefaults(main.defaults(), *main.hooks().folders);
}

} // namespace brimlo
