#pragma once

#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "load/LoadDocument.h"
#include "master/MainTables.h"
#include "rules/Cglobals.h"
#include "shell/ChildWindow.h"
#include "shell/TfrmDataEntry.h"
#include "shell/TfrmMain.h"
#include "support/Dataset.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace brimlo::testing {

// A main window over a fresh application data directory, its boxes on the
// test's current prompt unless the hooks name one.
struct MainWindowFixture {
    TempDir temp;
    std::string dir = temp.path().string() + "/";
    InstalledPrompt prompt;

    std::unique_ptr<TfrmMain> make(MainWindowHooks hooks = {}) {
        hooks.settings.setAppDataDirectory(dir);
        if (hooks.prompt == nullptr)
            hooks.prompt = &prompt;
        return std::make_unique<TfrmMain>(std::move(hooks));
    }
};

// A child window whose answers and calls the test controls and counts.
class FakeChild : public QWidget, public ChildWindow {
public:
    explicit FakeChild(const QString& caption) { setWindowTitle(caption); }

    void saveCommand() override { ++saves; }
    void saveAsCommand() override { ++saveAses; }
    bool closeQuery() override {
        ++closeQueries;
        return agreeToClose;
    }
    void refitRows() override { ++refits; }
    void masterMoved(const std::string& label, bool active) override {
        labels.push_back(label);
        wasActive = active;
    }

    int saves = 0;
    int saveAses = 0;
    int closeQueries = 0;
    int refits = 0;
    bool agreeToClose = true;
    std::vector<std::string> labels;
    bool wasActive = false;
};

// Asked at start when workspaces of an earlier run are left.
inline const std::string kRecoveryQuestion =
    "Data exists in temporary workspace.\nDo you want to use this data?\nYes, Load the temporary "
    "workspace (Yes)\nNo, delete data in temporary workspace (No)\nCancel, don't use the "
    "temporary workspace but don't delete it either (Cancel)";

using Fields = std::initializer_list<std::pair<const char*, Value>>;

// Edits the current record to hold these values and posts it.
inline void SetFields(Dataset& table, Fields fields) {
    table.edit();
    for (const auto& [name, value] : fields)
        table.setField(name, value);
    table.post();
}

// A master record of mill AB, population 1, with the fields a test needs.
inline void AddMasterRecord(Dataset& master, int32_t loadNum, Fields fields = {}) {
    master.insert();
    master.setField("MILLCODE", Value("AB"));
    master.setField("POP", Value(int32_t{1}));
    master.setField("LOAD_NUM", Value(loadNum));
    for (const auto& [name, value] : fields)
        master.setField(name, value);
    master.post();
}

// Lets deleted windows go and queued work run.
inline void Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Runs command and hands work the modal window it opens, once that is up;
// false when none came.
inline bool OnModal(const std::function<void()>& command,
                    const std::function<void(QWidget*)>& work) {
    QObject guard; // stops the polling when the command has returned
    bool seen = false;
    std::function<void()> poll = [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return QTimer::singleShot(10, &guard, poll);
        seen = true;
        work(modal);
    };
    QTimer::singleShot(0, &guard, poll);
    command();
    return seen;
}

// A test over a shown main window; the documents of its load windows are
// closed before it goes.
class MainWindowTest : public ::testing::Test {
protected:
    void open(MainWindowHooks hooks = {}) {
        window = fixture.make(std::move(hooks));
        window->show();
        QApplication::setActiveWindow(window.get());
        Settle();
    }
    void TearDown() override {
        for (QMdiSubWindow* sub :
             window ? window->clientArea().subWindowList() : QList<QMdiSubWindow*>{})
            if (auto* form = dynamic_cast<TfrmDataEntry*>(sub->widget());
                form && form->hasDocument())
                form->document().Close();
        window.reset();
        Settle();
    }

    MainWindowFixture fixture;
    std::unique_ptr<TfrmMain> window;
};

} // namespace brimlo::testing
