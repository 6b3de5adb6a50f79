#include "ScriptedWindows.h"

#include "load/LoadDocument.h"
#include "load/WorkspaceCounter.h"
#include "master/FieldEdit.h"
#include "master/GuardedCommand.h"
#include "master/MainTables.h"
#include "shell/DataEntryHooks.h"
#include "shell/ExportHooks.h"
#include "shell/FieldCombo.h"
#include "shell/TfrmDataEntry.h"
#include "shell/TfrmMain.h"
#include "shell/WindowHooks.h"

#include <QApplication>
#include <QTest>
#include <memory>

namespace brimlo::crash {

namespace {

// The load window the program's new-load command makes, with the save
// dialog answered by the script.
QWidget* NewLoadWindow(TfrmMain& main, const DialogAnswers& answers, WorkspaceCounter& counter) {
    DataEntryHost host;
    host.enableLoadCommands = [&main](bool on) { main.EnableLoadCommands(on); };
    host.chooseSaveFile = [answers](const std::string&, const std::string&) {
        return std::optional<std::string>(answers.loadFile());
    };
    auto window = std::make_unique<TfrmDataEntry>(host, main.prompt());
    LoadEnvironment env;
    env.appDataDirectory = main.tables().directory();
    env.defaults = &main.defaults();
    env.counter = &counter;
    env.view = window.get();
    env.prompt = &main.prompt();
    window->attach(LoadDocument::NewLoad(env));
    return window.release();
}

void Type(QWidget* w, int number) {
    QTest::keyClicks(w, QString::number(number));
}

} // namespace

std::unique_ptr<TfrmMain> StartScriptedMain(const std::string& dataDir,
                                            const DialogAnswers& answers, Prompt& prompt) {
    MainWindowHooks hooks = StandardWindowHooks();
    hooks.settings.setAppDataDirectory(dataDir);
    hooks.prompt = &prompt;
    // each main window numbers its workspaces from 1
    hooks.newLoad = [answers, counter = std::make_shared<WorkspaceCounter>()](TfrmMain& main) {
        QWidget* made = nullptr;
        RunGuarded(main.prompt(), [&] { made = NewLoadWindow(main, answers, *counter); });
        return made;
    };
    AddExportHooks(hooks, [answers](QWidget*, const std::string&) { return answers.exportFile(); });
    auto main = std::make_unique<TfrmMain>(std::move(hooks));
    main->show();
    QApplication::setActiveWindow(main.get());
    QApplication::processEvents();
    return main;
}

TfrmDataEntry* ActiveLoadWindow(TfrmMain& main) {
    return dynamic_cast<TfrmDataEntry*>(main.activeChild());
}

void KeyLogAndAppend(TfrmDataEntry& window, int butt, int top, int length) {
    // The species, condition and product keep their defaults. A new log
    // starts with the focus on its species; a log appended with '+' keeps
    // the column the focus was in, past the butt diameter.
    QWidget* buttEdit = window.logEdit("BUTTD");
    const bool forward = window.focusedControl() == window.logCombo("SPECIES") ||
                         window.focusedControl() == window.logEdit("SPECIES");
    for (int i = 0; i < 8 && window.focusedControl() != buttEdit; ++i) {
        if (forward)
            QTest::keyClick(window.focusedControl(), Qt::Key_Tab);
        else
            QTest::keyClick(window.focusedControl(), Qt::Key_Backtab, Qt::ShiftModifier);
    }
    Type(window.focusedControl(), butt);
    QTest::keyClick(window.focusedControl(), Qt::Key_Tab);
    // two digits fill the top diameter and the length, and move on
    Type(window.focusedControl(), top);
    Type(window.focusedControl(), length);
    QTest::keyClick(window.focusedControl(), Qt::Key_Plus);
}

} // namespace brimlo::crash
