#pragma once

#include "master/TfrmMasterMaintenance.h"
#include "shell/ChildWindow.h"

namespace brimlo {

class TfrmMain;

// The maintenance window as the main window holds it: its Save command and
// the master table's moves reach the window, and its activation drives the
// current-record report command.
class MaintenanceChildWindow : public TfrmMasterMaintenance, public ChildWindow {
public:
    MaintenanceChildWindow(TfrmMain& main, Dataset& master);

    void saveCommand() override { save(); }
    void masterMoved(const std::string& recordLabel, bool active) override {
        TfrmMasterMaintenance::masterMoved(recordLabel, active);
    }

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool placed_ = false;
};

// The factories the main window's hooks take.
QWidget* CreateMaintenanceWindow(TfrmMain& main);
QWidget* CreateDefaultsWindow(TfrmMain& main);

} // namespace brimlo
