#pragma once

#include "rules/Cglobals.h"
#include "shell/FolderBrowser.h"

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace brimlo {

class Prompt;
class TfrmMain;

// Where the windows and commands built outside the main window plug in.
// A factory answers its new window (the main window places it in its client
// area and keeps the books), or nullptr when it made none. A hook left empty
// makes its command do nothing.
struct MainWindowHooks {
    // The run's settings, found by the start-up: the data folder the main
    // window opens its tables in, and the version the About box shows.
    Cglobals settings;
    // The run's prompt (the start-up's message boxes), handed on to the
    // windows, the loads they show and the master's poster. Required: the
    // main window is not made without one.
    Prompt* prompt = nullptr;
    // The run's folder dialog, shared by the windows that browse for one.
    std::shared_ptr<FolderBrowser> folders = std::make_shared<FolderBrowser>();

    // Data entry windows: a new load, a load file, a workspace left behind.
    std::function<QWidget*(TfrmMain&)> newLoad;
    std::function<QWidget*(TfrmMain&, const std::string& fileName)> openLoad;
    std::function<QWidget*(TfrmMain&, int number, const std::string& headerFile)>
        openRecoveredWorkspace;

    // The single windows.
    std::function<QWidget*(TfrmMain&)> createMaintenance;
    std::function<QWidget*(TfrmMain&)> createDefaults;
    std::function<QWidget*(TfrmMain&)> createRanges;
    std::function<QWidget*(TfrmMain&)> createShortcuts;

    // Posting a saved load to the master table (after every Save and Save As
    // of a load window, whatever its outcome): the load window's part hands
    // its header and logs to TfrmMain::PostLoadToMaster.
    std::function<void(TfrmMain&, QWidget* loadWindow)> postLoadToMaster;

    // Reports and the export. The master ones run only when the master
    // table holds a record.
    std::function<void(TfrmMain&)> printMasterSummary;
    std::function<void(TfrmMain&)> printMasterReportAll;
    std::function<void(TfrmMain&)> printMasterReportCurrent;
    std::function<void(TfrmMain&, QWidget* loadWindow)> printLoadLogListing;
    std::function<void(TfrmMain&, QWidget* loadWindow)> printLoadSummary;
    std::function<void(TfrmMain&)> generateMasterAscii;

    // The file chosen in "Edit Stored Load", empty when cancelled; the
    // standard open dialog when left empty.
    std::function<std::string(TfrmMain&, const std::string& startDirectory)> chooseLoadFile;
};

} // namespace brimlo
