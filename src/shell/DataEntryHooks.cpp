#include "shell/DataEntryHooks.h"

#include "load/LoadDocument.h"
#include "load/WorkspaceCounter.h"
#include "master/GuardedCommand.h"
#include "master/MainTables.h"
#include "shell/TfrmDataEntry.h"
#include "shell/TfrmMain.h"
#include "shell/TfrmRanges.h"
#include "shell/TfrmShortcuts.h"

#include <memory>

namespace brimlo {

namespace {

DataEntryHost HostOf(TfrmMain& main) {
    DataEntryHost host;
    host.showShortcuts = [&main] { main.mnuKeyboardShortcutsClick(); };
    host.showRanges = [&main] { main.mnuRangesClick(); };
    host.printFullLoadReport = [&main] { main.mnuPrintFullLoadClick(); };
    host.enableLoadCommands = [&main](bool on) { main.EnableLoadCommands(on); };
    return host;
}

// Makes the window first so the load shows everything it does while it is
// being made.
QWidget*
MakeWindow(TfrmMain& main, WorkspaceCounter& counter,
           const std::function<std::unique_ptr<LoadDocument>(const LoadEnvironment&)>& make) {
    auto window = std::make_unique<TfrmDataEntry>(HostOf(main), main.prompt());
    LoadEnvironment env;
    env.appDataDirectory = main.tables().directory();
    env.defaults = &main.defaults();
    env.counter = &counter;
    env.view = window.get();
    env.prompt = &main.prompt();
    std::unique_ptr<LoadDocument> doc = make(env);
    if (!doc)
        return nullptr;
    // A file the reader refused closes the window at once; one that could
    // not be read through leaves the window open without a load.
    if (doc->closeRequested()) {
        doc->Close();
        return nullptr;
    }
    window->attach(std::move(doc));
    return window.release();
}

QWidget* Guarded(Prompt& prompt, const std::function<QWidget*()>& make) {
    QWidget* made = nullptr;
    try {
        made = make();
    } catch (...) {
        ShowCurrentException(prompt);
    }
    return made;
}

} // namespace

void AddDataEntryHooks(MainWindowHooks& hooks) {
    // One count of workspaces for the main window's whole run, shared by
    // every load window it makes.
    auto counter = std::make_shared<WorkspaceCounter>();
    hooks.newLoad = [counter](TfrmMain& main) {
        return Guarded(main.prompt(),
                       [&] { return MakeWindow(main, *counter, &LoadDocument::NewLoad); });
    };
    hooks.openLoad = [counter](TfrmMain& main, const std::string& fileName) {
        return Guarded(main.prompt(), [&] {
            return MakeWindow(main, *counter, [&](const LoadEnvironment& env) {
                return LoadDocument::OpenLoadFile(env, fileName);
            });
        });
    };
    hooks.openRecoveredWorkspace = [counter](TfrmMain& main, int number,
                                             const std::string& header) {
        return Guarded(main.prompt(), [&] {
            return MakeWindow(main, *counter, [&](const LoadEnvironment& env) {
                return LoadDocument::TakeOverWorkspace(env, number, header);
            });
        });
    };
    hooks.postLoadToMaster = [](TfrmMain& main, QWidget* window) {
        PostLoadToMaster(main, window);
    };
    hooks.createRanges = [](TfrmMain&) -> QWidget* { return new TfrmRanges; };
    hooks.createShortcuts = [](TfrmMain&) -> QWidget* { return new TfrmShortcuts; };
}

void PostLoadToMaster(TfrmMain& main, QWidget* loadWindow) {
    auto* window = dynamic_cast<TfrmDataEntry*>(loadWindow);
    if (!window || !window->hasDocument() || !window->document().hasLoad())
        return;
    RunGuarded(main.prompt(), [&] {
        const LoadData load = window->document().BuildLoadData();
        if (load.hasHeader)
            main.PostLoadToMaster(load.header, load.logs);
    });
}

} // namespace brimlo
