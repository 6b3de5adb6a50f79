#pragma once

#include "common/ErrorText.h"
#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "common/TypicalDefaults.h"
#include "load/LoadDocument.h"
#include "load/LoadView.h"
#include "load/WorkspaceCounter.h"
#include "support/BrimloError.h"
#include "support/DefaultsLayout.h"
#include "support/SqliteStore.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace brimlo::testing {

// A window stand-in that remembers what the load asked it to do.
class RecordingView : public LoadView {
public:
    std::vector<std::string> statuses;
    std::vector<std::pair<LoadControl, bool>> focuses;
    std::vector<LoadControl> selected;
    std::vector<std::pair<LoadControl, std::string>> selectorTexts;
    std::optional<bool> trimMode;
    bool trimHidden = false, headerPageShown = false;
    std::string caption;
    std::vector<std::pair<std::string, std::string>> saveDialogs; // proposal, folder
    std::optional<std::string> saveAnswer;                        // nullopt cancels
    int tabs = 0, busyDepth = 0;

    void showStatus(const std::string& text) override { statuses.push_back(text); }
    void focusControl(LoadControl c, bool selectAll) override {
        focuses.emplace_back(c, selectAll);
    }
    void selectText(LoadControl c) override { selected.push_back(c); }
    void pressTab(int times) override { tabs += times; }
    void setSelectorText(LoadControl c, const std::string& t) override {
        selectorTexts.emplace_back(c, t);
    }
    void setTrimAllowanceMode(bool on) override { trimMode = on; }
    void hideTrimAllowance() override { trimHidden = true; }
    void showHeaderPage() override { headerPageShown = true; }
    void setCaption(const std::string& c) override { caption = c; }
    void setBusy(bool busy) override { busyDepth += busy ? 1 : -1; }
    std::optional<std::string> askSaveFileName(const std::string& proposal,
                                               const std::string& folder) override {
        saveDialogs.emplace_back(proposal, folder);
        return saveAnswer;
    }
    std::string lastStatus() const { return statuses.empty() ? std::string() : statuses.back(); }
};

// The warning once more than twelve Sp-Cd-Pr combinations are counted.
inline const std::string kThirteenWarning =
    "There are 13 Sp-Cd-Pr combinations. The maximum number of combinations that are "
    "processed is 12";

inline Date FixedToday() {
    return Date::fromYmd(2007, 1, 23);
}

// The application data directory with a defaults table whose one record
// the test fills, and the environment a load window is made with.
class LoadFixture : public ::testing::Test {
protected:
    void SetUp() override {
        appDir = (temp.path() / "appdata").string() + "/";
        std::filesystem::create_directories(appDir);
        defaults = std::make_unique<Dataset>(
            SqliteStore::create(appDir + "defaults.db", DefaultsFields()));
    }

    // A defaults record a scaler would keep: S/GR/01, top 20, length 50.
    void writeTypicalDefaults(std::map<std::string, Value> changes = {}) {
        writeDefaults(TypicalDefaults(changes));
    }

    void writeDefaults(const std::map<std::string, Value>& values) {
        if (defaults->isEmpty())
            defaults->insert();
        else
            defaults->edit();
        for (const auto& [k, v] : values)
            defaults->setField(k, v);
        defaults->post();
    }

    LoadEnvironment env() {
        LoadEnvironment e;
        e.appDataDirectory = appDir;
        e.defaults = defaults.get();
        e.counter = &counter;
        e.view = &view;
        e.prompt = &prompts;
        e.today = FixedToday;
        return e;
    }

    // A new load shown in its window, as the scaler meets it.
    std::unique_ptr<LoadDocument> shownNewLoad() {
        auto doc = LoadDocument::NewLoad(env());
        doc->windowShown();
        return doc;
    }

    bool exists(const std::string& name) const { return std::filesystem::exists(appDir + name); }

    TempDir temp;
    std::string appDir;
    std::unique_ptr<Dataset> defaults;
    WorkspaceCounter counter;
    testing::InstalledPrompt prompts;
    ScriptedPrompt prompt; // a box the test does not expect fails it
    RecordingView view;
};

// A new load from the typical defaults, shown in its window; open() makes
// another from changed defaults.
class ShownLoadFixture : public LoadFixture {
protected:
    void SetUp() override {
        LoadFixture::SetUp();
        open();
    }

    void open(std::map<std::string, Value> changes = {}) {
        writeTypicalDefaults(std::move(changes));
        doc = shownNewLoad();
    }
    Dataset& log() { return doc->log(); }

    std::unique_ptr<LoadDocument> doc;
};

// One header field written the way the header page posts it.
inline void SetHeader(LoadDocument& doc, const char* field, const Value& value) {
    doc.header().edit();
    doc.header().setField(field, value);
    doc.header().post();
}

// Field shortcuts on the current log.
inline int32_t Int(const Dataset& d, const char* field) {
    return d.field(field).asInt();
}

inline std::string Text(const Dataset& d, const char* field) {
    return d.field(field).asString();
}

// Expects the current record's fields to read as these numbers or texts.
inline void ExpectInts(const Dataset& d,
                       std::initializer_list<std::pair<const char*, int>> fields) {
    for (const auto& [field, value] : fields)
        EXPECT_EQ(Int(d, field), value) << field;
}

inline void ExpectTexts(const Dataset& d,
                        std::initializer_list<std::pair<const char*, const char*>> fields) {
    for (const auto& [field, value] : fields)
        EXPECT_EQ(Text(d, field), value) << field;
}

// Expects the action to raise exactly this error.
template <class Action> void ExpectError(Action action, const std::string& text) {
    EXPECT_EQ(ErrorText(action), text);
}

// Keys a value the way a bound control writes it: edit state, then the field.
inline void Key(LoadDocument& doc, const char* field, const Value& value) {
    if (!doc.log().isEditing())
        doc.log().edit();
    doc.log().setField(field, value);
}

// Keys values in turn, as the scaler tabs through the controls.
inline void Key(LoadDocument& doc, std::initializer_list<std::pair<const char*, Value>> values) {
    for (const auto& [field, value] : values)
        Key(doc, field, value);
}

} // namespace brimlo::testing
