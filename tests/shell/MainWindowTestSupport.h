#pragma once

#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "master/MainTables.h"
#include "rules/Cglobals.h"
#include "shell/ChildWindow.h"
#include "shell/TfrmMain.h"

#include <QCoreApplication>
#include <QWidget>
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

// Lets deleted windows go and queued work run.
inline void Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace brimlo::testing
