#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "master/MainTables.h"
#include "shell/DbEdit.h"
#include "shell/FieldCombo.h"
#include "shell/FolderBrowser.h"
#include "shell/TfrmDefaults.h"
#include "support/Dataset.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using namespace brimlo;
using brimlo::testing::InstalledPrompt;
using brimlo::testing::ScriptedPrompt;
using brimlo::testing::TempDir;

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
    void TearDown() override { window_.reset(); }

    std::string dir() const { return temp_.path().string() + "/"; }
    Dataset& defaults() { return tables_->defaults(); }

    void set(std::initializer_list<std::pair<const char*, Value>> values) {
        defaults().edit();
        for (const auto& [field, value] : values)
            defaults().setField(field, value);
        defaults().post();
    }

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

// --- opening and the lists ------------------------------------------------------

TEST_F(DefaultsWindowTest, OpensOnTheHeaderPageWithItsCaptionAndSize) {
    TfrmDefaults& w = open();
    EXPECT_EQ(w.windowTitle().toStdString(), "BRIMLO - System Defaults");
    EXPECT_EQ(w.size(), QSize(630, 455));
    ASSERT_EQ(w.pages()->count(), 3);
    EXPECT_EQ(w.pages()->tabText(0).toStdString(), "Scale &Header Defaults");
    EXPECT_EQ(w.pages()->tabText(1).toStdString(), "Scale &Load Defaults");
    EXPECT_EQ(w.pages()->tabText(2).toStdString(), "Hardware &Defaults");
    EXPECT_EQ(w.pages()->currentIndex(), 0);
    EXPECT_EQ(edit("DATEWEIGHED")->toolTip().toStdString(), "yyyy/mm/dd");
    EXPECT_EQ(w.list("SAWLOGS")->entries(), (Codes{"Y", "N"}));
    EXPECT_EQ(w.browseButton()->focusPolicy(), Qt::NoFocus);
}

TEST_F(DefaultsWindowTest, EachCullTypeOffersExactlyItsAllowedMethods) {
    TfrmDefaults& w = open();
    EXPECT_EQ(w.list("CULLMETHTYPE1")->entries(), (Codes{"2", "3", "4", "5", "6", "7"}));
    EXPECT_EQ(w.list("CULLMETHTYPE2")->entries(), (Codes{"3", "4", "5", "7", "8"}));
    EXPECT_EQ(w.list("CULLMETHTYPE3")->entries(), (Codes{"1", "2", "3", "4", "5", "7"}));
    EXPECT_EQ(w.list("CULLMETHTYPE4")->entries(), (Codes{"2", "3", "4", "5", "7"}));
    EXPECT_EQ(w.list("CULLMETHTYPE5")->entries(), (Codes{"2", "3", "4", "7"}));
    EXPECT_EQ(w.list("CULLMETHTYPE6")->entries(), (Codes{"2", "3", "4", "5", "7"}));
    EXPECT_EQ(w.list("CULLMETHTYPE7")->entries(), (Codes{"2", "3", "4", "5", "7"}));
    // The initial record's methods are shown.
    EXPECT_EQ(w.list("CULLMETHTYPE1")->currentText().toStdString(), "6");
    EXPECT_EQ(w.list("CULLMETHTYPE2")->currentText().toStdString(), "8");
}

TEST_F(DefaultsWindowTest, TypeTwoFollowsTheVolumeMethodOfTheRecord) {
    set({{"VOL_CALC_METH", Value("A")}});
    TfrmDefaults& w = open();
    // Opening always starts from the Smalian list.
    EXPECT_EQ(w.list("CULLMETHTYPE2")->entries(), (Codes{"3", "4", "5", "7", "8"}));
    set({{"VOL_CALC_METH", Value("S")}});
    EXPECT_EQ(w.list("CULLMETHTYPE2")->entries(), (Codes{"3", "4", "5", "7", "8"}));
    set({{"VOL_CALC_METH", Value("A")}});
    EXPECT_EQ(w.list("CULLMETHTYPE2")->entries(), (Codes{"8"}));
    EXPECT_EQ(w.list("CULLMETHTYPE2")->currentText().toStdString(), "8");
    set({{"VOL_CALC_METH", Value("S")}});
    EXPECT_EQ(w.list("CULLMETHTYPE2")->entries(), (Codes{"3", "4", "5", "7", "8"}));
    // The other types never change.
    EXPECT_EQ(w.list("CULLMETHTYPE5")->entries(), (Codes{"2", "3", "4", "7"}));
}

TEST_F(DefaultsWindowTest, ChoosingAMethodStartsAnEditOfTheRecord) {
    TfrmDefaults& w = open();
    FieldCombo* list = w.list("CULLMETHTYPE3");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_TRUE(defaults().isEditing());
    EXPECT_EQ(defaults().field("CULLMETHTYPE3").asString(), "2");
}

// --- keyboard -----------------------------------------------------------------

TEST_F(DefaultsWindowTest, TabWalksTheHeaderPageInTheOrderOfItsLines) {
    open();
    edit("LESSEE")->setFocus(Qt::TabFocusReason);
    const std::vector<std::string> expected = {
        "edtLessee",       "edtMillName",     "edtDisp",     "edtSubDisp",     "edtSource",
        "edtMillNum",      "edtBlockNum",     "edtLoadNum",  "edtDateWeighed", "edtPop",
        "edtHTopD",        "edtNetWeight",    "cbSawlogs",   "edtTm9",         "cbHSpecies",
        "cbHCondCode",     "cbHProdCode",     "edtMillCode", "edtTrees",       "edtScalerName",
        "edtScalerPermit", "chkTrimAllowance"};
    std::vector<std::string> walked = {focused()};
    for (size_t i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked.push_back(focused());
    }
    EXPECT_EQ(walked, expected);
}

TEST_F(DefaultsWindowTest, TabWalksTheLoadPageFromSpeciesToTheSeventhMethod) {
    TfrmDefaults& w = open();
    w.pages()->setCurrentIndex(1);
    w.list("SPECIES")->setFocus(Qt::TabFocusReason);
    const std::vector<std::string> expected = {
        "cbSpecies",       "cbCondCode",      "cbProdCode",      "edtLength",
        "edtTopD",         "cbCullMethType1", "cbCullMethType2", "cbCullMethType3",
        "cbCullMethType4", "cbCullMethType5", "cbCullMethType6", "cbCullMethType7"};
    std::vector<std::string> walked = {focused()};
    for (size_t i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        walked.push_back(focused());
    }
    EXPECT_EQ(walked, expected);
}

TEST_F(DefaultsWindowTest, AnImpossibleDateIsRefusedAndKeepsTheFocus) {
    ScriptedPrompt prompt;
    prompt.expect("'2026/13/45' is not a valid date.");
    open();
    type("DATEWEIGHED", "2026/13/45");
    QTest::keyClick(edit("DATEWEIGHED"), Qt::Key_Tab);
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(focused(), "edtDateWeighed");
    EXPECT_EQ(edit("DATEWEIGHED")->text().toStdString(), "2026/13/45");
}

TEST_F(DefaultsWindowTest, TypedDateIsStoredAsADate) {
    ScriptedPrompt prompt;
    TfrmDefaults& w = open();
    type("DATEWEIGHED", "2001/02/03");
    QTest::keyClick(edit("DATEWEIGHED"), Qt::Key_Return);
    EXPECT_EQ(focused(), "edtPop");
    EXPECT_EQ(defaults().field("DATEWEIGHED").asDate(), Date::fromYmd(2001, 2, 3));
    EXPECT_TRUE(w.save());
}

TEST_F(DefaultsWindowTest, EnterMovesOnLikeTabButNotInTheDataDirectory) {
    TfrmDefaults& w = open();
    type("LESSEE", "x");
    QTest::keyClick(edit("LESSEE"), Qt::Key_Return);
    EXPECT_EQ(focused(), "edtMillName");
    w.pages()->setCurrentIndex(2);
    edit("DEFAULT_DATA_PATH")->setFocus();
    QTest::keyClick(edit("DEFAULT_DATA_PATH"), Qt::Key_Return);
    EXPECT_EQ(focused(), "edtDataPath");
}

TEST_F(DefaultsWindowTest, TypedMillCodeIsUpperCasedAndMovesOnWhenFull) {
    open();
    type("MILL_CODE", "ab");
    EXPECT_EQ(focused(), "edtTrees");
    EXPECT_EQ(edit("MILL_CODE")->text().toStdString(), "AB");
    EXPECT_EQ(defaults().field("MILL_CODE").asString(), "AB");
    EXPECT_TRUE(defaults().isEditing());
}

TEST_F(DefaultsWindowTest, NumberEditsKeepWhatIsTypedAndMoveOnAtTheirLimit) {
    open();
    type("LOAD_NUM", "123456");
    EXPECT_EQ(focused(), "edtDateWeighed");
    EXPECT_EQ(defaults().field("LOAD_NUM").asInt(), 123456);
    type("TM9", "ab12");
    EXPECT_EQ(edit("TM9")->text().toStdString(), "AB12");
    EXPECT_EQ(focused(), "edtTm9");
}

TEST_F(DefaultsWindowTest, TenthTypedCharacterOfADispositionMovesOn) {
    open();
    type("DISP", "CTL1234567");
    EXPECT_EQ(focused(), "edtSubDisp");
    EXPECT_EQ(defaults().field("DISP").asString(), "CTL1234567");
}

TEST_F(DefaultsWindowTest, TextPutInWithoutAKeyPressNeverMovesTheFocus) {
    open();
    DbEdit* disp = edit("DISP");
    disp->setFocus(Qt::MouseFocusReason);
    disp->setText(QStringLiteral("CTL1234567"));
    EXPECT_EQ(focused(), "edtDisp");
}

TEST_F(DefaultsWindowTest, LeavingABadDispositionShowsItsErrorAndKeepsTheFocus) {
    ScriptedPrompt prompt;
    prompt.expect("Valid Dispositions: CTL,CTP,DTL,DTP,FMA,<blank>");
    open();
    type("DISP", "XYZ");
    QTest::keyClick(edit("DISP"), Qt::Key_Tab);
    EXPECT_TRUE(prompt.allExpectedShown());
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].caption, "Disposition Error:");
    EXPECT_EQ(focused(), "edtDisp");
}

TEST_F(DefaultsWindowTest, LeavingASourceThatNamesADispositionIsRefused) {
    ScriptedPrompt prompt;
    prompt.expect("Source field cannot contain dispositions: CTL,CTP,DTL,DTP,FMA");
    open();
    type("SOURCE", "FMA mill");
    QTest::keyClick(edit("SOURCE"), Qt::Key_Return);
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(focused(), "edtSource");
    // A valid source passes on.
    edit("SOURCE")->selectAll();
    QTest::keyClicks(edit("SOURCE"), QStringLiteral("ROADSIDE"));
    QTest::keyClick(edit("SOURCE"), Qt::Key_Tab);
    EXPECT_EQ(focused(), "edtMillNum");
}

// --- saving ---------------------------------------------------------------------

// A save the checks refuse, one row per check in the order they run: the
// first failing check shows its one box, turns to its page and focuses its
// edit, and the typed change stays pending.
struct RefusedSave {
    const char* name;
    std::vector<std::pair<const char*, Value>> stored;
    int startPage;
    const char* message;
    int page;
    const char* focus;
};

const RefusedSave kRefusedSaves[] = {
    {"OddLogTopDiameterIsReportedBeforeABadDisposition",
     {{"TOPD", Value(3)}, {"DISP", Value("XYZ")}},
     0,
     "Top Diameter must be an even number",
     1,
     "edtTopD"},
    {"LogLengthIsCheckedAfterTheTopDiameter",
     {{"TOPD", Value(20)}, {"LENGTH", Value(74)}},
     0,
     "Log Length must be between 6 and 72 (inclusive)",
     1,
     "edtLength"},
    {"MissingHeaderTopDiameterCannotBeSaved",
     {{"HTOPD", Value()}},
     2,
     "Top Diameter must be between 2 and 76 (inclusive)",
     0,
     "edtHTopD"},
    {"DispositionAndSourceTogetherFailTheSaveOnTheHeaderPage",
     {{"DISP", Value("CTL")}, {"SOURCE", Value("X")}},
     1,
     "Cannot have values for both disposition and source",
     0,
     "edtDisp"},
    {"DateWeighedInTheFutureFailsTheSaveLast",
     {{"DATEWEIGHED", Value(Date::fromYmd(QDate::currentDate().year() + 1, 1, 1))}},
     1,
     "Year portion of Date Weighed must be less then or equal to current year",
     0,
     "edtDateWeighed"},
};

void PrintTo(const RefusedSave& row, std::ostream* out) {
    *out << row.name;
}

class DefaultsRefusedSave : public DefaultsWindowTest,
                            public ::testing::WithParamInterface<RefusedSave> {};

TEST_P(DefaultsRefusedSave, ShowsTheFirstFailingCheck) {
    const RefusedSave& row = GetParam();
    ScriptedPrompt prompt;
    prompt.expect(row.message);
    defaults().edit();
    for (const auto& [field, value] : row.stored)
        defaults().setField(field, value);
    defaults().post();
    TfrmDefaults& w = open();
    type("LESSEE", "a");
    w.pages()->setCurrentIndex(row.startPage);
    EXPECT_FALSE(w.save());
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(w.pages()->currentIndex(), row.page);
    EXPECT_EQ(focused(), row.focus);
    EXPECT_TRUE(defaults().isEditing());
    EXPECT_EQ(defaults().field("LESSEE").asString(), "A");
}

INSTANTIATE_TEST_SUITE_P(, DefaultsRefusedSave, ::testing::ValuesIn(kRefusedSaves),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DefaultsWindowTest, ZeroLogTopDiameterAndLengthAreAcceptedAndSaved) {
    ScriptedPrompt prompt;
    TfrmDefaults& w = open();
    w.pages()->setCurrentIndex(1);
    type("TOPD", "0");
    type("LENGTH", "0");
    EXPECT_EQ(focused(), "edtLength");
    EXPECT_TRUE(w.save());
    EXPECT_FALSE(defaults().isEditing());
    EXPECT_EQ(stored("LENGTH"), "0");
}

TEST_F(DefaultsWindowTest, SaveWithNothingPendingSucceeds) {
    ScriptedPrompt prompt;
    TfrmDefaults& w = open();
    EXPECT_TRUE(w.save());
    EXPECT_FALSE(defaults().isEditing());
}

TEST_F(DefaultsWindowTest, SaveWritesTheTypedTextOfTheFocusedEdit) {
    ScriptedPrompt prompt;
    TfrmDefaults& w = open();
    type("SCALER_NAME", "jones");
    EXPECT_TRUE(w.save());
    EXPECT_EQ(stored("SCALER_NAME"), "JONES");
}

// --- trim allowance --------------------------------------------------------------

TEST_F(DefaultsWindowTest, TrimAllowancePostsAtOnceWithPendingChangesUnchecked) {
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
}

TEST_F(DefaultsWindowTest, TrimAllowanceBoxStartsTickedForT) {
    set({{"TRIM_ALLOWANCE", Value("T")}});
    EXPECT_TRUE(open().trimAllowance()->isChecked());
}

// --- data directory ----------------------------------------------------------------

TEST_F(DefaultsWindowTest, BrowseStoresTheChosenFolderExactly) {
    QString title;
    folders_.setDialog([&](QWidget*, const QString& caption, const QString&) {
        title = caption;
        return QStringLiteral("/srv/loads");
    });
    TfrmDefaults& w = open();
    w.pages()->setCurrentIndex(2);
    QTest::mouseClick(w.browseButton(), Qt::LeftButton);
    EXPECT_EQ(title.toStdString(), "Select Default Data Directory");
    EXPECT_TRUE(defaults().isEditing());
    EXPECT_EQ(edit("DEFAULT_DATA_PATH")->text().toStdString(), "/srv/loads");
    ScriptedPrompt prompt;
    EXPECT_TRUE(w.save());
    EXPECT_EQ(stored("DEFAULT_DATA_PATH"), "/srv/loads");
}

TEST_F(DefaultsWindowTest, CancelledBrowseGivesTheEarlierFolderOfTheRun) {
    QString answer = QStringLiteral("/srv/first");
    QString offered;
    folders_.setDialog([&](QWidget*, const QString&, const QString& start) {
        offered = start;
        return answer;
    });
    set({{"DEFAULT_DATA_PATH", Value("/elsewhere")}});
    TfrmDefaults& w = open();
    QTest::mouseClick(w.browseButton(), Qt::LeftButton);
    defaults().cancel();
    EXPECT_EQ(defaults().field("DEFAULT_DATA_PATH").asString(), "/elsewhere");
    answer.clear();
    QTest::mouseClick(w.browseButton(), Qt::LeftButton);
    EXPECT_EQ(offered.toStdString(), "/srv/first");
    EXPECT_EQ(defaults().field("DEFAULT_DATA_PATH").asString(), "/srv/first");
}

TEST_F(DefaultsWindowTest, CancelledBrowseWithNoEarlierChoiceChangesNothing) {
    folders_.setDialog([](QWidget*, const QString&, const QString&) { return QString(); });
    TfrmDefaults& w = open();
    QTest::mouseClick(w.browseButton(), Qt::LeftButton);
    EXPECT_FALSE(defaults().isEditing());
    EXPECT_TRUE(defaults().field("DEFAULT_DATA_PATH").isNull());
}

TEST_F(DefaultsWindowTest, TypedDataDirectoryIsSavedWithoutASeparatorAdded) {
    ScriptedPrompt prompt;
    TfrmDefaults& w = open();
    w.pages()->setCurrentIndex(2);
    type("DEFAULT_DATA_PATH", "C:\\Loads");
    EXPECT_TRUE(w.save());
    EXPECT_EQ(stored("DEFAULT_DATA_PATH"), "C:\\Loads");
}

// --- close query -------------------------------------------------------------------

TEST_F(DefaultsWindowTest, ClosingWithoutChangesAsksNothing) {
    ScriptedPrompt prompt;
    EXPECT_TRUE(open().close());
}

TEST_F(DefaultsWindowTest, CloseQueryNoDiscardsEveryPendingChange) {
    ScriptedPrompt prompt;
    prompt.expect("Save before closing?", PromptAnswer::No);
    TfrmDefaults& w = open();
    type("LESSEE", "gone");
    type("MILL_NAME", "also");
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(prompt.shown()[0].caption, "Warning");
    EXPECT_EQ(prompt.shown()[0].buttons, PromptButtons::YesNoCancel);
    EXPECT_FALSE(defaults().isEditing());
    EXPECT_EQ(stored("LESSEE"), "");
    EXPECT_EQ(defaults().field("MILL_NAME").asString(), "");
}

TEST_F(DefaultsWindowTest, CloseQueryCancelKeepsTheWindowAndItsChanges) {
    ScriptedPrompt prompt;
    prompt.expect("Save before closing?", PromptAnswer::Cancel);
    TfrmDefaults& w = open();
    type("LESSEE", "kept");
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(defaults().isEditing());
    EXPECT_EQ(edit("LESSEE")->text().toStdString(), "KEPT");
}

TEST_F(DefaultsWindowTest, CloseQueryYesSavesAndCloses) {
    ScriptedPrompt prompt;
    prompt.expect("Save before closing?", PromptAnswer::Yes);
    TfrmDefaults& w = open();
    type("LESSEE", "saved");
    EXPECT_TRUE(w.close());
    EXPECT_EQ(stored("LESSEE"), "SAVED");
}

TEST_F(DefaultsWindowTest, CloseQueryYesWithAFailingCheckKeepsTheWindowOpen) {
    ScriptedPrompt prompt;
    prompt.expect("Save before closing?", PromptAnswer::Yes)
        .expect("Top Diameter must be an even number");
    TfrmDefaults& w = open();
    w.pages()->setCurrentIndex(1);
    type("TOPD", "5");
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_TRUE(defaults().isEditing());
    EXPECT_EQ(focused(), "edtTopD");
}

// Pictures of the three pages for the documentation, when asked for.
TEST_F(DefaultsWindowTest, PagesCanBePictured) {
    TfrmDefaults& w = open();
    const QByteArray target = qgetenv("BRIMLO_SCREENSHOT_DIR");
    const char* names[] = {"defaults-header.png", "defaults-load.png", "defaults-hardware.png"};
    for (int page = 0; page < 3; ++page) {
        w.pages()->setCurrentIndex(page);
        const QPixmap picture = w.grab();
        EXPECT_EQ(picture.size(), QSize(630, 455));
        if (!target.isEmpty()) {
            EXPECT_TRUE(picture.save(
                QDir(QString::fromLocal8Bit(target)).filePath(QString::fromLatin1(names[page]))));
        }
    }
}

} // namespace

namespace {

// The main window lets go of its tables before its child windows are
// deleted; the window must then leave the table alone.
TEST(DefaultsWindowLifetime, WindowOutlivingItsTableLeavesItAlone) {
    TempDir temp;
    auto tables = std::make_unique<MainTables>(temp.path().string() + "/");
    FolderBrowser folders;
    InstalledPrompt prompts;
    auto window = std::make_unique<TfrmDefaults>(tables->defaults(), folders, prompts);
    window->show();
    QApplication::setActiveWindow(window.get());
    DbEdit* lessee = window->edit("LESSEE");
    lessee->setFocus();
    QTest::keyClicks(lessee, QStringLiteral("pending"));
    tables.reset();
    window->hide();
    window.reset();
    // Nothing the window held after its table closed reached the file.
    MainTables again(temp.path().string() + "/");
    EXPECT_EQ(again.defaults().field("LESSEE").asString(), "");
}

} // namespace
