#pragma once

#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "common/TypicalDefaults.h"
#include "load/LoadDocument.h"
#include "load/WorkspaceCounter.h"
#include "master/FieldEdit.h"
#include "shell/FieldCombo.h"
#include "shell/LogRowGrid.h"
#include "shell/TfrmDataEntry.h"
#include "support/DefaultsLayout.h"
#include "support/SqliteStore.h"

#include <QApplication>
#include <QString>
#include <QTest>
#include <cctype>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

inline std::string Str(const QString& text) {
    return text.toStdString();
}

namespace brimlo::testing {

// A load window over a fresh application data directory, driven by keys
// the way a scaler keys a load; boxes are answered by the scripted prompt.
class DataEntryFixture : public ::testing::Test {
protected:
    void SetUp() override {
        appDir = (temp.path() / "appdata").string() + "/";
        std::filesystem::create_directories(appDir);
        defaults = std::make_unique<Dataset>(
            SqliteStore::create(appDir + "defaults.db", DefaultsFields()));
    }

    void TearDown() override {
        if (form && form->hasDocument())
            form->document().Close();
        form.reset();
    }

    // A defaults record a scaler would keep: S/GR/01, top 20, length 50.
    void writeDefaults(const std::map<std::string, Value>& changes = {}) {
        std::map<std::string, Value> values = TypicalDefaults(changes);
        defaults->insert();
        for (const auto& [k, v] : values)
            defaults->setField(k, v);
        defaults->post();
    }

    // A new load in its window, shown on its header page.
    void openNewLoad() {
        form.reset();
        form = std::make_unique<TfrmDataEntry>(host(), prompts);
        LoadEnvironment env;
        env.appDataDirectory = appDir;
        env.defaults = defaults.get();
        env.counter = &counter;
        env.view = form.get();
        env.prompt = &prompts;
        form->attach(LoadDocument::NewLoad(env));
        form->show();
        QApplication::setActiveWindow(form.get());
    }

    DataEntryHost host() {
        DataEntryHost h;
        h.showShortcuts = [this] { ++shortcutsShown; };
        h.showRanges = [this] { ++rangesShown; };
        h.chooseSaveFile = [this](const std::string& proposal, const std::string&) {
            proposals.push_back(proposal);
            return saveAnswer;
        };
        h.askLogNumber = [this](QWidget*, int count) {
            logCountAsked = count;
            return logNumberAnswer;
        };
        return h;
    }

    QWidget* focused() const { return form->focusedControl(); }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(focused(), k, mods);
    }
    // Keys a script of words as a scaler would: a word naming a key (Tab,
    // BackTab, Return, Esc, Home, End, Up, Down, Right, PageUp, PageDown,
    // F1 to F12) presses it, any other word is typed.
    void keys(const char* script) {
        static const std::map<std::string, Qt::Key> named = {
            {"Tab", Qt::Key_Tab},          {"Return", Qt::Key_Return}, {"Esc", Qt::Key_Escape},
            {"Home", Qt::Key_Home},        {"End", Qt::Key_End},       {"Up", Qt::Key_Up},
            {"Down", Qt::Key_Down},        {"Right", Qt::Key_Right},   {"PageUp", Qt::Key_PageUp},
            {"PageDown", Qt::Key_PageDown}};
        std::istringstream words(script);
        for (std::string word; words >> word;) {
            if (word == "BackTab")
                key(Qt::Key_Backtab, Qt::ShiftModifier);
            else if (named.count(word))
                key(named.at(word));
            else if (word.size() > 1 && word[0] == 'F' && std::isdigit(word[1]))
                key(Qt::Key(Qt::Key_F1 + std::stoi(word.substr(1)) - 1));
            else
                QTest::keyClicks(focused(), QString::fromStdString(word));
        }
    }
    // The text a control of the current log or the header shows.
    std::string shown(const std::string& field) {
        if (FieldCombo* c = form->logCombo(field))
            return c->text();
        FieldEdit* edit = form->logEdit(field) ? form->logEdit(field) : form->headerEdit(field);
        return Str(edit->text());
    }

    // F6 onto the log page, the focus on the first log's species.
    void toLogPage() {
        key(Qt::Key_F6);
        ASSERT_TRUE(form->onLogPage());
    }

    Dataset& log() { return form->document().log(); }
    Dataset& header() { return form->document().header(); }
    int32_t logInt(const char* field) { return log().field(field).asInt(); }
    std::string logText(const char* field) { return log().field(field).asString(); }
    QWidget* row(const char* field) {
        if (FieldEdit* e = form->logEdit(field))
            return e;
        return form->logCombo(field);
    }

    // Appends logs until the load holds count.
    void appendUntil(int count) {
        while (log().recordCount() < count)
            form->btnAppendClick();
    }

    TempDir temp;
    std::string appDir;
    std::unique_ptr<Dataset> defaults;
    WorkspaceCounter counter;
    testing::InstalledPrompt prompts;
    ScriptedPrompt prompt;
    std::unique_ptr<TfrmDataEntry> form;

    int shortcutsShown = 0;
    int rangesShown = 0;
    std::vector<std::string> proposals;
    std::optional<std::string> saveAnswer;
    int logCountAsked = -1;
    std::optional<int> logNumberAnswer;
};

// A new load of typical defaults, on its log page.
class LogPageFixture : public DataEntryFixture {
protected:
    void SetUp() override {
        DataEntryFixture::SetUp();
        writeDefaults();
        openNewLoad();
        toLogPage();
    }
};

} // namespace brimlo::testing
