#include "shell/ExportHooks.h"

#include "master/GuardedCommand.h"
#include "master/MainTables.h"
#include "master/MasterExport.h"
#include "master/MasterStoreProvider.h"
#include "shell/BusyCursor.h"
#include "shell/TfrmMain.h"
#include "support/Cp1252.h"
#include "support/Dataset.h"
#include "support/LocalFileName.h"
#include "support/Prompt.h"

#include <QFileDialog>
#include <QFileInfo>

namespace brimlo {

namespace {

constexpr const char* kAsciiExtension = "out";

std::string DefaultsSawlogs(TfrmMain& main) {
    Dataset& defaults = main.defaults();
    return defaults.isEmpty() ? std::string() : defaults.field("SAWLOGS").asString();
}

// A platform dialog may hand back the name exactly as typed.
QString WithAsciiExtension(const QString& fileName) {
    if (!QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    return fileName + QLatin1Char('.') + QLatin1String(kAsciiExtension);
}

} // namespace

std::string AskMasterAsciiFile(QWidget* parent, const std::string& startDirectory) {
    QFileDialog dialog(parent, QStringLiteral("Save Master ASCII File"), FromCp1252(startDirectory),
                       QStringLiteral("Text file (*.out)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QLatin1String(kAsciiExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return HeldFileName(WithAsciiExtension(dialog.selectedFiles().constFirst()));
}

void GenerateMasterAscii(TfrmMain& main, const ChooseMasterAsciiFile& choose) {
    const std::string fileName = choose(&main, main.tables().defaultDataPath());
    if (fileName.empty())
        return;
    Prompt& prompt = main.prompt();
    RunGuarded(prompt, [&] {
        const std::string sawlogs = DefaultsSawlogs(main);
        BusyCursor busy;
        if (main.masterStores().onServer())
            ExportMasterFiles(fileName, main.masterRecord(), main.masterStores().store(), sawlogs,
                              prompt);
        else
            ExportMasterFiles(fileName, main.masterRecord(), main.masterTable(), sawlogs, prompt);
    });
}

void AddExportHooks(MainWindowHooks& hooks, ChooseMasterAsciiFile choose) {
    hooks.generateMasterAscii = [choose = std::move(choose)](TfrmMain& main) {
        GenerateMasterAscii(main, choose);
    };
}

} // namespace brimlo
