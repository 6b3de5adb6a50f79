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

// Shows the folder dialog over owner. Answers the last folder chosen in
// this run, whether or not one was chosen this time: a cancelled dialog
// gives the earlier choice, or an empty text when there was none.
std::string BrowseForFolder(const std::string& title, QWidget* owner);

// Replaces the dialog (an empty function restores the system's); answers
// the one it replaced.
FolderDialog SetFolderDialog(FolderDialog dialog);
// Forgets the last chosen folder.
void ForgetChosenFolder();

} // namespace brimlo
