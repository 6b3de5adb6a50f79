#include "shell/FolderBrowser.h"

#include "support/Cp1252.h"
#include "support/LocalFileName.h"

#include <QFileDialog>

namespace brimlo {

namespace {

std::string& LastChosen() {
    static std::string folder;
    return folder;
}

FolderDialog& Installed() {
    static FolderDialog dialog;
    return dialog;
}

QString SystemDialog(QWidget* owner, const QString& title, const QString& startFolder) {
    return QFileDialog::getExistingDirectory(owner, title, startFolder, QFileDialog::ShowDirsOnly);
}

} // namespace

std::string BrowseForFolder(const std::string& title, QWidget* owner) {
    const FolderDialog& dialog = Installed() ? Installed() : FolderDialog(SystemDialog);
    const QString chosen = dialog(owner, FromCp1252(title), FromCp1252(LastChosen()));
    if (!chosen.isEmpty())
        LastChosen() = HeldFileName(chosen);
    return LastChosen();
}

FolderDialog SetFolderDialog(FolderDialog dialog) {
    FolderDialog previous = std::move(Installed());
    Installed() = std::move(dialog);
    return previous;
}

void ForgetChosenFolder() {
    LastChosen().clear();
}

} // namespace brimlo
