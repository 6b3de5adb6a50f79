#include "MainWindowTestSupport.h"
#include "shell/DbEdit.h"
#include "shell/FieldCombo.h"
#include "shell/FolderBrowser.h"
#include "shell/TfrmDefaults.h"

#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <optional>
#include <tuple>

using namespace brimlo;
using namespace brimlo::testing;

namespace {

using Codes = std::vector<std::string>;

// A defaults table on disk with its initial record, and the window over it.
// The header top diameter is given a valid value so that saves can pass.
class DefaultsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        tables_ = std::make_unique<MainTables>(dir());
        set({{"HTOPD", Value(16)}});
    }

    std::string dir() const { return temp_.path().string() + "/"; }
    Dataset& defaults() { return tables_->defaults(); }

    void set(Fields values) { SetFields(defaults(), values); }

    TfrmDefaults& open() {
        window_ = std::make_unique<TfrmDefaults>(defaults(), folders_, prompts_);
        window_->show();
        QApplication::setActiveWindow(window_.get());
        return *window_;
    }

    DbEdit* edit(const char* field) { return window_->edit(field); }

    // Gives an edit the focus and types into it as a user would.
    void type(const char* field, const char* text) {
        DbEdit* target = edit(field);
        target->setFocus(Qt::MouseFocusReason);
        target->selectAll();
        if (!*text)
            QTest::keyClick(target, Qt::Key_Delete);
        QTest::keyClicks(target, QString::fromLatin1(text));
    }

    std::string focused() const {
        QWidget* widget = QApplication::focusWidget();
        return widget ? widget->objectName().toStdString() : std::string();
    }

    // What the defaults table holds on disk, read by a second opening.
    std::string stored(const char* field) {
        window_.reset();
        tables_.reset();
        tables_ = std::make_unique<MainTables>(dir());
        return defaults().field(field).asString();
    }

    TempDir temp_;
    std::unique_ptr<MainTables> tables_;
    FolderBrowser folders_;
    InstalledPrompt prompts_;
    std::unique_ptr<TfrmDefaults> window_;
};

// Pictures of the three pages for the documentation when
// BRIMLO_SCREENSHOTS names their folder.
TEST_F(DefaultsWindowTest, OpensOnTheHeaderPageWithItsCaptionPagesAndSize) {
    TfrmDefaults& w = open();
    EXPECT_EQ(w.windowTitle().toStdString(), "BRIMLO - System Defaults");
    EXPECT_EQ(w.pages()->currentIndex(), 0);
    EXPECT_EQ(edit("DATEWEIGHED")->toolTip().toStdString(), "yyyy/mm/dd");
    EXPECT_EQ(w.list("SAWLOGS")->entries(), (Codes{"Y", "N"}));
    EXPECT_EQ(w.browseButton()->focusPolicy(), Qt::NoFocus);
    const QByteArray target = qgetenv("BRIMLO_SCREENSHOTS");
    const char* pages[][2] = {{"Scale &Header Defaults", "defaults-header.png"},
                              {"Scale &Load Defaults", "defaults-load.png"},
                              {"Hardware &Defaults", "defaults-hardware.png"}};
    ASSERT_EQ(w.pages()->count(), 3);
    for (int page = 0; page < 3; ++page) {
        EXPECT_EQ(w.pages()->tabText(page).toStdString(), pages[page][0]);
        w.pages()->setCurrentIndex(page);
        const QPixmap picture = w.grab();
        EXPECT_EQ(picture.size(), QSize(630, 455));
        EXPECT_TRUE(target.isEmpty() ||
                    picture.save(QDir(QString::fromLocal8Bit(target))
                                     .filePath(QString::fromLatin1(pages[page][1]))));
    }
}

// Type two follows the volume method of the record, starting from the
// Smalian list whatever the record says; the other types never change.
TEST_F(DefaultsWindowTest, EachCullTypeOffersExactlyItsAllowedMethodsToChooseFrom) {
    set({{"VOL_CALC_METH", Value("A")}});
    TfrmDefaults& w = open();
    const Codes allowed[] = {{"2", "3", "4", "5", "6", "7"}, {"3", "4", "5", "7", "8"},
                             {"1", "2", "3", "4", "5", "7"}, {"2", "3", "4", "5", "7"},
                             {"2", "3", "4", "7"},           {"2", "3", "4", "5", "7"},
                             {"2", "3", "4", "5", "7"}};
    for (int type = 1; type <= 7; ++type)
        EXPECT_EQ(w.list(("CULLMETHTYPE" + std::to_string(type)).c_str())->entries(),
                  allowed[type - 1])
            << type;
    FieldCombo* two = w.list("CULLMETHTYPE2");
    for (const char* method : {"S", "A", "S"}) {
        set({{"VOL_CALC_METH", Value(method)}});
        EXPECT_EQ(two->entries(), *method == 'A' ? Codes{"8"} : allowed[1]) << method;
        EXPECT_EQ(two->currentText().toStdString(), "8");
    }
    EXPECT_EQ(w.list("CULLMETHTYPE5")->entries(), allowed[4]);
    // The initial record's methods are shown; choosing one starts an edit.
    EXPECT_EQ(w.list("CULLMETHTYPE1")->currentText().toStdString(), "6");
    w.list("CULLMETHTYPE3")->setFocus();
    QTest::keyClick(w.list("CULLMETHTYPE3"), Qt::Key_Down);
    EXPECT_TRUE(defaults().isEditing());
    EXPECT_EQ(defaults().field("CULLMETHTYPE3").asString(), "2");
}

// Tab and Enter walk a page in the order of its lines; Enter stays in the
// data directory.
TEST_F(DefaultsWindowTest, KeysWalkEachPageInTheOrderOfItsLines) {
    const std::tuple<int, Qt::Key, std::vector<std::string>> walks[] = {
        {0, Qt::Key_Tab, {"edtLessee",       "edtMillName",     "edtDisp",     "edtSubDisp",
                          "edtSource",       "edtMillNum",      "edtBlockNum", "edtLoadNum",
                          "edtDateWeighed",  "edtPop",          "edtHTopD",    "edtNetWeight",
                          "cbSawlogs",       "edtTm9",          "cbHSpecies",  "cbHCondCode",
                          "cbHProdCode",     "edtMillCode",     "edtTrees",    "edtScalerName",
                          "edtScalerPermit", "chkTrimAllowance"}},
        {1,
         Qt::Key_Return,
         {"cbSpecies", "cbCondCode", "cbProdCode", "edtLength", "edtTopD", "cbCullMethType1",
          "cbCullMethType2", "cbCullMethType3", "cbCullMethType4", "cbCullMethType5",
          "cbCullMethType6", "cbCullMethType7"}},
        {2, Qt::Key_Return, {"edtDataPath", "edtDataPath"}}};
    TfrmDefaults& w = open();
    for (const auto& [page, key, expected] : walks) {
        w.pages()->setCurrentIndex(page);
        w.findChild<QWidget*>(QString::fromStdString(expected[0]))->setFocus(Qt::TabFocusReason);
        std::vector<std::string> walked = {focused()};
        for (size_t i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), key);
            walked.push_back(focused());
        }
        EXPECT_EQ(walked, expected);
    }
}

// What typing into an edit (and a key after it, if any) leaves: the focus,
// the edit's text and the field's value. A save writes what was typed, the
// focused edit's text too; zero log sizes pass the checks and a typed
// directory gains no separator.
TEST_F(DefaultsWindowTest, TypedTextIsKeptAndMovesOnWhenTheEditIsFull) {
    const std::tuple<int, const char*, const char*, Qt::Key, const char*, const char*, const char*>
        rows[] = {
            {0, "LESSEE", "x", Qt::Key_Return, "edtMillName", "X", "X"},
            {0, "MILL_CODE", "ab", Qt::Key(0), "edtTrees", "AB", "AB"},
            {0, "LOAD_NUM", "123456", Qt::Key(0), "edtDateWeighed", "123456", "123456"},
            {0, "TM9", "ab12", Qt::Key(0), "edtTm9", "AB12", nullptr},
            {0, "SOURCE", "ROADSIDE", Qt::Key_Tab, "edtMillNum", "ROADSIDE", "ROADSIDE"},
            {0, "SOURCE", "", Qt::Key_Tab, "edtMillNum", "", ""},
            {0, "DISP", "CTL1234567", Qt::Key(0), "edtSubDisp", "CTL1234567", "CTL1234567"},
            {1, "TOPD", "0", Qt::Key(0), "edtTopD", "0", nullptr},
            {1, "LENGTH", "0", Qt::Key(0), "edtLength", "0", nullptr},
            {2, "DEFAULT_DATA_PATH", "C:\\Loads", Qt::Key(0), "edtDataPath", "C:\\Loads", nullptr},
        };
    ScriptedPrompt prompt; // no box may appear
    TfrmDefaults& w = open();
    EXPECT_TRUE(w.save()); // nothing pending
    EXPECT_FALSE(defaults().isEditing());
    // Text put in without a key press never moves the focus, even after a
    // key that changed nothing.
    edit("DISP")->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(edit("DISP"), Qt::Key_Left);
    edit("DISP")->setText(QStringLiteral("CTL7654321"));
    EXPECT_EQ(focused(), "edtDisp");
    for (const auto& [page, field, text, key, focus, shown, value] : rows) {
        SCOPED_TRACE(field);
        w.pages()->setCurrentIndex(page);
        type(field, text);
        if (key)
            QTest::keyClick(edit(field), key);
        EXPECT_EQ(focused(), focus);
        EXPECT_EQ(edit(field)->text().toStdString(), shown);
        if (value) { // written when the edit is left
            EXPECT_EQ(defaults().field(field).asString(), value);
        }
        EXPECT_TRUE(defaults().isEditing());
    }
    EXPECT_EQ(defaults().field("LOAD_NUM").asInt(), 123456);
    // A typed date is stored as a date.
    w.pages()->setCurrentIndex(0);
    type("DATEWEIGHED", "2001/02/03");
    QTest::keyClick(edit("DATEWEIGHED"), Qt::Key_Return);
    EXPECT_EQ(focused(), "edtPop");
    EXPECT_EQ(defaults().field("DATEWEIGHED").asDate(), Date::fromYmd(2001, 2, 3));
    type("SCALER_NAME", "jones");
    EXPECT_TRUE(w.save());
    EXPECT_FALSE(defaults().isEditing());
    const char* const saved[][2] = {{"TOPD", "0"},
                                    {"LENGTH", "0"},
                                    {"DEFAULT_DATA_PATH", "C:\\Loads"},
                                    {"SCALER_NAME", "JONES"},
                                    {"LESSEE", "X"}};
    for (const auto& [field, value] : saved)
        EXPECT_EQ(stored(field), value) << field;
}

// Leaving an edit with text its check refuses shows one box and keeps the
// focus and the text.
TEST_F(DefaultsWindowTest, LeavingARefusedEntryShowsItsErrorAndKeepsTheFocus) {
    const std::tuple<const char*, const char*, Qt::Key, const char*, const char*> rows[] = {
        {"DATEWEIGHED", "2026/13/45", Qt::Key_Tab, "'2026/13/45' is not a valid date.", ""},
        {"DISP", "XYZ", Qt::Key_Tab, "Valid Dispositions: CTL,CTP,DTL,DTP,FMA,<blank>",
         "Disposition Error:"},
        {"SOURCE", "FMA MILL", Qt::Key_Return,
         "Source field cannot contain dispositions: CTL,CTP,DTL,DTP,FMA", ""},
    };
    for (const auto& [field, text, key, message, caption] : rows) {
        SCOPED_TRACE(field);
        ScriptedPrompt prompt;
        prompt.expect(message);
        open();
        type(field, text);
        QTest::keyClick(edit(field), key);
        ASSERT_EQ(prompt.shown().size(), 1u);
        if (*caption) {
            EXPECT_EQ(prompt.shown()[0].caption, caption);
        }
        EXPECT_EQ(QApplication::focusWidget(), edit(field));
        EXPECT_EQ(edit(field)->text().toStdString(), text);
        prompt.allowAny();
        window_.reset();
        defaults().cancel();
    }
}

// A save the checks refuse, one row per check in the order they run: the
// first failing check shows its one box, turns to its page and focuses its
// edit, and the typed change stays pending.
struct RefusedSave {
    const char* name;
    const char* field; // stored before the window opens, with its value
    Value value;
    const char* field2; // and a second one, if any
    Value value2;
    int startPage;
    const char* message;
    int page;
    const char* focus;
};

const RefusedSave kRefusedSaves[] = {
    {"OddLogTopDiameterIsReportedBeforeABadDisposition", "TOPD", Value(3), "DISP", Value("XYZ"), 0,
     "Top Diameter must be an even number", 1, "edtTopD"},
    {"LogLengthIsCheckedAfterTheTopDiameter", "TOPD", Value(20), "LENGTH", Value(74), 0,
     "Log Length must be between 6 and 72 (inclusive)", 1, "edtLength"},
    {"MissingHeaderTopDiameterCannotBeSaved", "HTOPD", Value(), nullptr, Value(), 2,
     "Top Diameter must be between 2 and 76 (inclusive)", 0, "edtHTopD"},
    {"DispositionAndSourceTogetherFailTheSaveOnTheHeaderPage", "DISP", Value("CTL"), "SOURCE",
     Value("X"), 1, "Cannot have values for both disposition and source", 0, "edtDisp"},
    {"DateWeighedInTheFutureFailsTheSaveLast", "DATEWEIGHED",
     Value(Date::fromYmd(QDate::currentDate().year() + 1, 1, 1)), nullptr, Value(), 1,
     "Year portion of Date Weighed must be less then or equal to current year", 0,
     "edtDateWeighed"},
};

class DefaultsRefusedSave : public DefaultsWindowTest,
                            public ::testing::WithParamInterface<RefusedSave> {};

TEST_P(DefaultsRefusedSave, ShowsTheFirstFailingCheck) {
    const RefusedSave& row = GetParam();
    ScriptedPrompt prompt;
    prompt.expect(row.message);
    set({{row.field, row.value}});
    if (row.field2)
        set({{row.field2, row.value2}});
    TfrmDefaults& w = open();
    type("LESSEE", "a");
    w.pages()->setCurrentIndex(row.startPage);
    EXPECT_FALSE(w.save());
    EXPECT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(w.pages()->currentIndex(), row.page);
    EXPECT_EQ(focused(), row.focus);
    EXPECT_TRUE(defaults().isEditing());
    EXPECT_EQ(defaults().field("LESSEE").asString(), "A");
}

INSTANTIATE_TEST_SUITE_P(, DefaultsRefusedSave, ::testing::ValuesIn(kRefusedSaves),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DefaultsWindowTest, TrimAllowancePostsAtOnceWithPendingChangesUncheckedAndShowsTicked) {
    ScriptedPrompt prompt; // no box may appear
    set({{"TOPD", Value(3)}});
    TfrmDefaults& w = open();
    EXPECT_FALSE(w.trimAllowance()->isChecked());
    type("LESSEE", "smith");
    QTest::mouseClick(w.trimAllowance(), Qt::LeftButton);
    EXPECT_FALSE(defaults().isEditing());
    EXPECT_EQ(defaults().field("TRIM_ALLOWANCE").asString(), "T");
    QTest::mouseClick(w.trimAllowance(), Qt::LeftButton);
    EXPECT_EQ(defaults().field("TRIM_ALLOWANCE").asString(), "F");
    QTest::mouseClick(w.trimAllowance(), Qt::LeftButton);
    EXPECT_EQ(stored("LESSEE"), "SMITH");
    EXPECT_EQ(defaults().field("TRIM_ALLOWANCE").asString(), "T");
    EXPECT_EQ(defaults().field("TOPD").asInt(), 3);
    EXPECT_TRUE(open().trimAllowance()->isChecked());
}

// Browse stores the chosen folder exactly. A cancelled browse changes
// nothing until a folder was chosen; then it gives the earlier folder of the
// run.
TEST_F(DefaultsWindowTest, BrowseStoresTheChosenOrEarlierFolderOfTheRun) {
    QString answer, title, offered;
    folders_.setDialog([&](QWidget*, const QString& caption, const QString& start) {
        title = caption;
        offered = start;
        return answer;
    });
    set({{"DEFAULT_DATA_PATH", Value("/elsewhere")}});
    TfrmDefaults& w = open();
    w.pages()->setCurrentIndex(2);
    QTest::mouseClick(w.browseButton(), Qt::LeftButton);
    EXPECT_EQ(title.toStdString(), "Select Default Data Directory");
    EXPECT_FALSE(defaults().isEditing());
    EXPECT_EQ(defaults().field("DEFAULT_DATA_PATH").asString(), "/elsewhere");
    answer = QStringLiteral("/srv/loads");
    QTest::mouseClick(w.browseButton(), Qt::LeftButton);
    EXPECT_TRUE(defaults().isEditing());
    EXPECT_EQ(edit("DEFAULT_DATA_PATH")->text().toStdString(), "/srv/loads");
    defaults().cancel();
    EXPECT_EQ(defaults().field("DEFAULT_DATA_PATH").asString(), "/elsewhere");
    answer.clear();
    QTest::mouseClick(w.browseButton(), Qt::LeftButton);
    EXPECT_EQ(offered.toStdString(), "/srv/loads");
    ScriptedPrompt prompt;
    EXPECT_TRUE(w.save());
    EXPECT_EQ(stored("DEFAULT_DATA_PATH"), "/srv/loads");
}

// Closing asks only with changes pending: No drops them all, Cancel keeps
// the window and them, Yes saves them unless a check refuses.
TEST_F(DefaultsWindowTest, CloseAsksOnlyWithChangesAndDoesWhatTheAnswerSays) {
    const struct {
        const char* name;
        std::optional<PromptAnswer> answer; // none: nothing typed, no question
        const char* topD;                   // typed on the load page
        const char* refusal;                // the check's box after Yes
        bool closes;
        const char* lessee;   // in the table after the close
        const char* millName; // on disk after a close
    } rows[] = {{"unchanged", std::nullopt, "", nullptr, true, "", ""},
                {"no", PromptAnswer::No, "4", nullptr, true, "", ""},
                {"cancel", PromptAnswer::Cancel, "4", nullptr, false, "KEPT", ""},
                {"yes refused", PromptAnswer::Yes, "5", "Top Diameter must be an even number",
                 false, "KEPT", ""},
                {"yes", PromptAnswer::Yes, "4", nullptr, true, "KEPT", "ALSO"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedPrompt prompt;
        TfrmDefaults& w = open();
        if (row.answer) {
            prompt.expect("Save before closing?", *row.answer);
            if (row.refusal)
                prompt.expect(row.refusal);
            type("LESSEE", "kept");
            type("MILL_NAME", "also");
            w.pages()->setCurrentIndex(1);
            type("TOPD", row.topD);
            w.pages()->setCurrentIndex(0);
        }
        EXPECT_EQ(w.close(), row.closes);
        EXPECT_TRUE(prompt.allExpectedShown());
        if (row.answer) {
            EXPECT_EQ(prompt.shown()[0].caption, "Warning");
            EXPECT_EQ(prompt.shown()[0].buttons, PromptButtons::YesNoCancel);
        }
        EXPECT_EQ(w.isVisible(), !row.closes);
        EXPECT_EQ(defaults().isEditing(), !row.closes);
        EXPECT_EQ(defaults().field("LESSEE").asString(), row.lessee);
        if (row.refusal) {
            EXPECT_EQ(focused(), "edtTopD");
            EXPECT_EQ(w.pages()->currentIndex(), 1);
        }
        if (row.closes) {
            EXPECT_EQ(stored("MILL_NAME"), row.millName);
        } else {
            window_.reset();
            defaults().cancel();
        }
    }
}

// The main window lets go of its tables before its child windows are
// deleted; the window must then leave the table alone.
TEST_F(DefaultsWindowTest, WindowOutlivingItsTableLeavesItAlone) {
    open();
    type("LESSEE", "pending");
    tables_.reset();
    window_->hide();
    window_.reset();
    EXPECT_EQ(stored("LESSEE"), "");
}

} // namespace
