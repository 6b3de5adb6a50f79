#include "shell/FolderBrowser.h"

#include "support/Cp1252.h"
#include "support/LocalFileName.h"

#include <QFileDialog>

namespace brimlo {

namespace {

QString SystemDialog(QWidget* owner, const QString& title, const QString& startFolder) {
    return QFileDialog::getExistingDirectory(owner, title, startFolder, QFileDialog::ShowDirsOnly);
}

} // namespace

std::string FolderBrowser::browse(const std::string& title, QWidget* owner) {
    const FolderDialog& dialog = dialog_ ? dialog_ : FolderDialog(SystemDialog);
    const QString chosen = dialog(owner, FromCp1252(title), FromCp1252(lastChosen_));
    if (!chosen.isEmpty())
        lastChosen_ = HeldFileName(chosen);
    return lastChosen_;
}

} // namespace brimlo
