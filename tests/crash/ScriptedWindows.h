#pragma once

#include <functional>
#include <memory>
#include <string>

namespace brimlo {
class Prompt;
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

// The program's main window on the data directory, shown and active as
// when the program starts, with its own window hooks except for the two
// file dialogs, which the script answers.
std::unique_ptr<TfrmMain> StartScriptedMain(const std::string& dataDir,
                                            const DialogAnswers& answers, Prompt& prompt);

// The active load window of the main window, or nullptr.
TfrmDataEntry* ActiveLoadWindow(TfrmMain& main);

// Keys one log into the current log of the window's log page, by keys:
// the default codes, butt and top diameters, length; then '+', which on the
// last log appends a new one and posts the log left.
void KeyLogAndAppend(TfrmDataEntry& window, int butt, int top, int length);

} // namespace brimlo::crash
