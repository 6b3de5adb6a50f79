#pragma once

#include "shell/MainWindowHooks.h"

#include <functional>
#include <string>

class QWidget;

namespace brimlo {

class TfrmMain;

// The ".out" file the user names for the master ASCII export, starting in
// the given directory (none when empty); empty when cancelled.
using ChooseMasterAsciiFile =
    std::function<std::string(QWidget* parent, const std::string& startDirectory)>;

// The save dialog of the export: asks before an existing file is replaced
// and gives a name typed without extension the ".out" one.
std::string AskMasterAsciiFile(QWidget* parent, const std::string& startDirectory);

// "Generate Master ASCII file...": the master ASCII file and the two sample
// tables beside it, in the file the user chooses.
void GenerateMasterAscii(TfrmMain& main, const ChooseMasterAsciiFile& choose);

// Plugs the export into the main window's menu; tests replace the dialog.
void AddExportHooks(MainWindowHooks& hooks, ChooseMasterAsciiFile choose = AskMasterAsciiFile);

} // namespace brimlo
