#pragma once

#include "shell/MainWindowHooks.h"

#include <functional>
#include <string>

namespace brimlo {
class TfrmDataEntry;
class TfrmMain;
} // namespace brimlo

namespace brimlo::crash {

// Where the file dialogs of a scripted run point: the load window's save
// dialog and the master ASCII export dialog answer these names at once.
struct DialogAnswers {
    std::function<std::string()> loadFile;
    std::function<std::string()> exportFile;
};

// The program's own window hooks with the two file dialogs answered by
// the script; everything else is what the program connects.
MainWindowHooks ScriptedWindowHooks(const DialogAnswers& answers);

// The next new load gets workspace 1 again (the first free number).
void RestartWorkspaceNumbers();

// The active load window of the main window, or nullptr.
TfrmDataEntry* ActiveLoadWindow(TfrmMain& main);

// Shows the main window and makes it the active one, as the desktop does
// when the program starts.
void ShowActive(TfrmMain& main);

// Sets the defaults record's load number, so each new load gets its own
// master record.
void SetDefaultLoadNumber(TfrmMain& main, int loadNumber);

// Keys one log into the current log of the window's log page, by keys:
// the default codes, butt and top diameters, length.
void KeyLog(TfrmDataEntry& window, int butt, int top, int length);

// The '+' key: on the last log it appends a new one, posting the log left.
void KeyAppend(TfrmDataEntry& window);

} // namespace brimlo::crash
