#pragma once

#include "shell/MainWindowHooks.h"

class QWidget;

namespace brimlo {

class TfrmMain;

// Plugs the load windows and the help windows into the main window: New,
// Open, the workspaces taken over at start-up, the master posting after
// Save and Save As, and the two help windows.
void AddDataEntryHooks(MainWindowHooks& hooks);

// Builds the master record from a load window's header and logs and writes
// it to the master table (after every Save and Save As).
void PostLoadToMaster(TfrmMain& main, QWidget* loadWindow);

} // namespace brimlo
