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
#include "support/Dataset.h"

#include <QApplication>
#include <QTest>
#include <memory>

namespace brimlo::crash {

namespace {

WorkspaceCounter& RunCounter() {
    static WorkspaceCounter counter;
    return counter;
}

} // namespace

void RestartWorkspaceNumbers() {
    RunCounter() = WorkspaceCounter();
}

namespace {

// The load window the program's new-load command makes, with the save
// dialog answered by the script.
QWidget* NewLoadWindow(TfrmMain& main, const DialogAnswers& answers) {
    DataEntryHost host;
    host.enableLoadCommands = [&main](bool on) { main.EnableLoadCommands(on); };
    host.chooseSaveFile = [answers](const std::string&, const std::string&) {
        return std::optional<std::string>(answers.loadFile());
    };
    auto window = std::make_unique<TfrmDataEntry>(host, main.prompt());
    LoadEnvironment env;
    env.appDataDirectory = main.tables().directory();
    env.defaults = &main.defaults();
    env.counter = &RunCounter();
    env.view = window.get();
    env.prompt = &main.prompt();
    window->attach(LoadDocument::NewLoad(env));
    return window.release();
}

void Type(QWidget* w, int number) {
    QTest::keyClicks(w, QString::number(number));
}

} // namespace

MainWindowHooks ScriptedWindowHooks(const DialogAnswers& answers) {
    MainWindowHooks hooks = StandardWindowHooks();
    hooks.newLoad = [answers](TfrmMain& main) {
        QWidget* made = nullptr;
        RunGuarded(main.prompt(), [&] { made = NewLoadWindow(main, answers); });
        return made;
    };
    AddExportHooks(hooks, [answers](QWidget*, const std::string&) { return answers.exportFile(); });
    return hooks;
}

TfrmDataEntry* ActiveLoadWindow(TfrmMain& main) {
    return dynamic_cast<TfrmDataEntry*>(main.activeChild());
}

void ShowActive(TfrmMain& main) {
    main.show();
    QApplication::setActiveWindow(&main);
    QApplication::processEvents();
}

void SetDefaultLoadNumber(TfrmMain& main, int loadNumber) {
    Dataset& defaults = main.defaults();
    defaults.first();
    defaults.edit();
    defaults.setField("LOAD_NUM", Value(int32_t{loadNumber}));
    defaults.post();
}

void KeyLog(TfrmDataEntry& window, int butt, int top, int length) {
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
}

void KeyAppend(TfrmDataEntry& window) {
    QTest::keyClick(window.focusedControl(), Qt::Key_Plus);
}

} // namespace brimlo::crash
