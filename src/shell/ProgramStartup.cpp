#include "shell/ProgramStartup.h"

#include "master/GuardedCommand.h"
#include "reports/ReportTexts.h"
#include "shell/BrimloApplication.h"
#include "shell/MessageBoxPrompt.h"
#include "shell/TfrmMain.h"
#include "shell/WindowHooks.h"
#include "support/AppPaths.h"
#include "support/Prompt.h"
#include "support/SingleInstance.h"

#include <QDate>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace brimlo {

void BuildGlobals(Cglobals& globals, Prompt& prompt) {
    globals.setInstallationDirectory(InstallationDirectory());
    std::string dataDirectory;
    if (!FindAppDataDirectory(globals.installationDirectory(), dataDirectory, kProgramFolderName))
        prompt.message(kAppDataDirMessage, kAppDataDirCaption, PromptIcon::Error);
    globals.setAppDataDirectory(dataDirectory);
    std::string version;
    std::optional<ProgramDate> date;
    ReadProgramVersion(ProgramFilePath(), version, date);
    globals.setVersionText(version);
    globals.setProgramDate(date);
}

namespace {

std::unique_ptr<TfrmMain> CreateMainWindow(const Cglobals& settings, Prompt& prompt) {
    MainWindowHooks hooks = StandardWindowHooks();
    hooks.settings = settings;
    hooks.prompt = &prompt;
    std::unique_ptr<TfrmMain> window;
    RunGuarded(prompt, [&] { window = std::make_unique<TfrmMain>(std::move(hooks)); });
    return window;
}

// With BRIMLO_EXIT_WHEN_SHOWN set, the program writes "shown" to standard
// output once the main window has painted itself and quits: start-up timed
// from outside, from the spawn to the window on the screen.
class ShownMarker : public QObject {
public:
    static void installOn(QWidget& window) {
        if (!qEnvironmentVariableIsEmpty("BRIMLO_EXIT_WHEN_SHOWN"))
            window.installEventFilter(new ShownMarker(&window));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !fired_) {
            fired_ = true;
            // After the paint in progress has finished.
            QTimer::singleShot(0, watched, [] {
                std::fputs("shown\n", stdout);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    explicit ShownMarker(QObject* parent) : QObject(parent) {}
    bool fired_ = false;
};

} // namespace

std::string AnotherCopyMessage(const std::string& dataFolder, const std::string& holder) {
    return "Only one instance of the Brimlo program is allowed.\nThe data folder '" + dataFolder +
           "' is in use by another copy of the program (" + holder + ").";
}

int RunProgram(int argc, char** argv) {
    return RunProgramWith(argc, argv, nullptr);
}

int RunProgramWith(int argc, char** argv, Prompt* prompt) {
    MessageBoxPrompt boxes;
    Prompt& runPrompt = prompt ? *prompt : boxes;
    BrimloApplication app(argc, argv, runPrompt);
    // The reports date their pages with the day the program started.
    SetProgramStartDate(QDate::currentDate());
    Cglobals settings;
    BuildGlobals(settings, runPrompt);
    QApplication::setApplicationName(QStringLiteral("BRIMLO"));

    // A later copy may ask before the window exists; it is raised once shown.
    // The lock is the data folder's: a copy started with another runtime
    // folder, or on another machine, is refused as well, before it touches
    // a table or a workspace.
    auto mainWindow = std::make_shared<QPointer<TfrmMain>>();
    std::string holder;
    const std::string dataFolder = settings.appDataDirectory();
    const bool another = CheckSingleInstance(
        kInstanceLockName, dataFolder,
        [mainWindow] {
            if (*mainWindow)
                (*mainWindow)->bringForward();
        },
        holder);
    if (another) {
        runPrompt.message(AnotherCopyMessage(dataFolder, holder),
                          "Multiple Instances of Brimlo detected", PromptIcon::Error);
        return 0;
    }

    std::unique_ptr<TfrmMain> window = CreateMainWindow(settings, runPrompt);
    if (!window) {
        return 1;
    }
    *mainWindow = window.get();
    // Without a window manager to maximize it, the window still fills the
    // screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window->resize(screen->availableGeometry().size());
    ShownMarker::installOn(*window);
    window->showMaximized();
    window->activateWindow();
    QApplication::exec();
    window.reset();
    return 0;
}

} // namespace brimlo
