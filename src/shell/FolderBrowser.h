#pragma once

#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace brimlo {

// The folder selection dialog: the folder the user chose, or an empty text
// when cancelled. Tests put their own answer in place of the system dialog.
using FolderDialog =
    std::function<QString(QWidget* owner, const QString& title, const QString& startFolder)>;

// The folder dialog of one run, which remembers the last folder chosen. The
// main window's hooks own the run's one; a window that browses is handed it.
class FolderBrowser {
public:
    // An empty dialog is the system's.
    explicit FolderBrowser(FolderDialog dialog = {}) : dialog_(std::move(dialog)) {}

    // Shows the dialog over owner. Answers the last folder chosen in this
    // run, whether or not one was chosen this time: a cancelled dialog
    // gives the earlier choice, or an empty text when there was none.
    std::string browse(const std::string& title, QWidget* owner);

    // Replaces the dialog (an empty function restores the system's).
    void setDialog(FolderDialog dialog) { dialog_ = std::move(dialog); }

private:
    FolderDialog dialog_;
    std::string lastChosen_;
};

} // namespace brimlo
