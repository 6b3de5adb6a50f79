#include "shell/MaintenanceChildWindow.h"

#include "master/MainTables.h"
#include "shell/ChildPlacement.h"
#include "shell/TfrmDefaults.h"
#include "shell/TfrmMain.h"

#include <QAction>

namespace brimlo {

namespace {

// The main window already packs master.db and checks for an empty master
// after every deletion it hears of from the table. It does not watch the
// server's master: there the window follows its own moves and closes when
// its last record is deleted.
MaintenanceCallbacks CallbacksFor(TfrmMain& main, Dataset& master) {
    MaintenanceCallbacks callbacks;
    callbacks.enableReportCurrent = [&main](bool on) {
        if (QAction* command = main.action("mnuPrintCurrentMaster"))
            command->setEnabled(on);
    };
    if (&master != &main.tables().master()) {
        callbacks.followMoves = true;
        callbacks.recordDeleted = [&main] { main.serverMasterRecordDeleted(); };
    }
    return callbacks;
}

} // namespace

MaintenanceChildWindow::MaintenanceChildWindow(TfrmMain& main, Dataset& master)
    : TfrmMasterMaintenance(master, main.prompt(), CallbacksFor(main, master)) {}

// Opens 630 by 455 at the top left corner, whatever its layout would ask.
void MaintenanceChildWindow::showEvent(QShowEvent* event) {
    TfrmMasterMaintenance::showEvent(event);
    if (placed_)
        return;
    placed_ = true;
    PlaceChildWindow(this, 630, 455);
}

QWidget* CreateMaintenanceWindow(TfrmMain& main) {
    return new MaintenanceChildWindow(main, main.masterView());
}

QWidget* CreateDefaultsWindow(TfrmMain& main) {
    return new TfrmDefaults(main.defaults(), *main.hooks().folders, main.prompt());
}

} // namespace brimlo
