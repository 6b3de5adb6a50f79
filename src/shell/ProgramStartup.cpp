#include "shell/ProgramStartup.h"

#include "shell/BrimloApplication.h"
#include "shell/GuardedCommand.h"
#include "shell/MessageBoxPrompt.h"
#include "shell/TfrmMain.h"
#include "shell/WindowHooks.h"
#include "support/AppPaths.h"
#include "support/Prompt.h"
#include "support/SingleInstance.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <memory>

namespace brimlo {

void BuildGlobals(Cglobals& globals) {
    globals.setInstallationDirectory(InstallationDirectory());
    std::string dataDirectory;
    if (!FindAppDataDirectory(globals.installationDirectory(), dataDirectory, kProgramFolderName))
        Prompt::current().message(kAppDataDirMessage, kAppDataDirCaption, PromptIcon::Error);
    globals.setAppDataDirectory(dataDirectory);
    std::string version;
    std::optional<ProgramDate> date;
    ReadProgramVersion(ProgramFilePath(), version, date);
    globals.setVersionText(version);
    globals.setProgramDate(date);
}

namespace {

std::unique_ptr<TfrmMain> CreateMainWindow() {
    std::unique_ptr<TfrmMain> window;
    RunGuarded([&] { window = std::make_unique<TfrmMain>(StandardWindowHooks()); });
    return window;
}

} // namespace

std::string AnotherCopyMessage(const std::string& dataFolder, const std::string& holder) {
    return "Only one instance of the Brimlo program is allowed.\nThe data folder '" + dataFolder +
           "' is in use by another copy of the program (" + holder + ").";
}

int RunProgram(int argc, char** argv) {
    return RunProgramWith(argc, argv, nullptr);
}

int RunProgramWith(int argc, char** argv, Prompt* prompt) {
    BrimloApplication app(argc, argv);
    MessageBoxPrompt boxes;
    Prompt::install(prompt ? prompt : &boxes);
    BuildGlobals(Globals());
    QApplication::setApplicationName(QStringLiteral("BRIMLO"));

    // A later copy may ask before the window exists; it is raised once shown.
    // The lock is the data folder's: a copy started with another runtime
    // folder, or on another machine, is refused as well, before it touches
    // a table or a workspace.
    auto mainWindow = std::make_shared<QPointer<TfrmMain>>();
    std::string holder;
    const std::string dataFolder = Globals().appDataDirectory();
    const bool another = CheckSingleInstance(
        kInstanceLockName, dataFolder,
        [mainWindow] {
            if (*mainWindow)
                (*mainWindow)->bringForward();
        },
        holder);
    if (another) {
        Prompt::current().message(AnotherCopyMessage(dataFolder, holder),
                                  "Multiple Instances of Brimlo detected", PromptIcon::Error);
        Prompt::install(nullptr);
        return 0;
    }

    std::unique_ptr<TfrmMain> window = CreateMainWindow();
    if (!window) {
        Prompt::install(nullptr);
        return 1;
    }
    *mainWindow = window.get();
    // Without a window manager to maximize it, the window still fills the
    // screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window->resize(screen->availableGeometry().size());
    window->showMaximized();
    window->activateWindow();
    QApplication::exec();
    window.reset();
    Prompt::install(nullptr);
    return 0;
}

} // namespace brimlo
