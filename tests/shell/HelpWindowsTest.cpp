#include "DataEntryTestSupport.h"
#include "MainWindowTestSupport.h"
#include "load/LoadFileWriter.h"
#include "shell/DataEntryHooks.h"
#include "shell/TdlgGoToLog.h"
#include "shell/TfrmRanges.h"
#include "shell/TfrmShortcuts.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <algorithm>
#include <set>

namespace brimlo::testing {
namespace {

std::set<std::string> LabelTexts(const QWidget& window) {
    std::set<std::string> texts;
    for (const QLabel* label : window.findChildren<QLabel*>())
        texts.insert(label->text().toStdString());
    return texts;
}

// Labels from the top, and left to right on a line.
std::vector<const QLabel*> LabelsInReadingOrder(const QWidget& window) {
    auto labels = window.findChildren<QLabel*>();
    std::vector<const QLabel*> ordered(labels.begin(), labels.end());
    std::sort(ordered.begin(), ordered.end(), [](const QLabel* a, const QLabel* b) {
        return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
    });
    return ordered;
}

TEST(HelpWindowsTest, RangesWindowShowsEveryTextAsWritten) {
    TfrmRanges window;
    EXPECT_EQ(Str(window.windowTitle()), "Codes, Values, and Ranges");
    EXPECT_EQ(window.size(), QSize(630, 405));
    const std::set<std::string> texts = LabelTexts(window);
    const char* expected[] = {"Species Codes",
                              "S  - Spruce",
                              "PB - Black Poplar",
                              "SE - Engelmann Spruce",
                              "OD - Other Deciduous",
                              "Condition Codes",
                              "D  - Dead",
                              "IS - Industrial Salvage",
                              "Product Codes",
                              "01 - Conifer Sawlogs & Pulp",
                              "19 - Laminated Veneer Lumber",
                              "99 - Undersize",
                              "Valid Ranges",
                              "Butt Diameter (cm):",
                              "8 To 150",
                              "Top Diameter (cm):",
                              "2 To 76",
                              "Log Length (dm):",
                              "6 To 72",
                              "Cull Types",
                              "6 - Shake & Cracks",
                              "7 - Crotch",
                              "Allowed Cull Methods",
                              "Alberta Cubic",
                              "Smalian",
                              "3,4,5,7,8",
                              "1,2,3,4,5,7",
                              "Cull Methods",
                              "6 - Internal Log Reduction",
                              "8 - End Rot Reduction"};
    for (const char* text : expected)
        EXPECT_EQ(texts.count(text), 1u) << text;
    // 20 species, 9 conditions, 10 products, 7 types, 8 methods, 7 + 7 allowed lists
    // with their 2 headings, 3 ranges with 3 captions, 7 block headings.
    EXPECT_EQ(window.findChildren<QLabel*>().size(), 20 + 9 + 10 + 7 + 8 + 16 + 6 + 7);
}

TEST(HelpWindowsTest, ShortcutsWindowListsTheKeysInOrder) {
    TfrmShortcuts window;
    EXPECT_EQ(Str(window.windowTitle()), "Keyboard Shortcuts");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"ESC", "Cancel changes made to current log record"},
        {"F1", "Function Key Screen"},
        {"F2", "Save & Exit Scale Data"},
        {"F3", "Codes, Values, & Ranges"},
        {"F4", "Next Species"},
        {"F5", "Print Log Report"},
        {"F6", "Switch between Header and Log tabs"},
        {"F7", "Go to Log Number"},
        {"F8", "Cull Entire Log"},
        {"F9", "Shift Cursor (Sp/T/Flag)"},
        {"+", "Next Top Diameter"},
        {"F11", "Next Top Diameter"},
        {"F12", "Next Butt Diameter"},
        {"PGUP", "Previous Page of Log Data"},
        {"PGDN", "Next Page of Log Data"},
        {"HOME", "Go to First Log Record"},
        {"END", "Go to Last Log Record"},
    };
    const auto labels = LabelsInReadingOrder(window);
    ASSERT_EQ(labels.size(), expected.size() * 2);
    for (size_t i = 0; i < expected.size(); ++i) {
        const QLabel* keyLabel = labels[2 * i];
        EXPECT_EQ(Str(keyLabel->text()), expected[i].first);
        EXPECT_TRUE(keyLabel->font().bold());
        EXPECT_TRUE(keyLabel->alignment().testFlag(Qt::AlignRight));
        EXPECT_EQ(Str(labels[2 * i + 1]->text()), expected[i].second);
    }
}

class GoToLogDialogTest : public ::testing::Test {
protected:
    void enter(const char* text) {
        dialog.edit()->setText(QString::fromLatin1(text));
        dialog.okButton()->click();
    }
    ScriptedPrompt prompt;
    TdlgGoToLog dialog{nullptr, 50, prompt};
};

TEST_F(GoToLogDialogTest, RefusesWhatIsNoLogNumber) {
    EXPECT_EQ(Str(dialog.windowTitle()), "Go To Log #");
    dialog.show();
    prompt.expect("Error: Please enter a valid integer value.");
    enter("abc");
    EXPECT_EQ(prompt.shown().back().caption, "Error: Not a number");
    prompt.expect("Error: Please enter an integer value greater than 0.");
    enter("0");
    prompt.expect("Error: Please enter an integer value greater than 0.");
    enter("-3");
    EXPECT_EQ(prompt.shown().back().caption, "Error: Less then 0");
    prompt.expect(
        "Error: Please enter a log number less than or equal to the number of logs.(50).");
    enter("51");
    EXPECT_EQ(prompt.shown().back().caption, "Error: Greater than number of logs");
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.logNumber(), -1);
}

TEST_F(GoToLogDialogTest, AcceptsTheLastLog) {
    dialog.show();
    enter("50");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.logNumber(), 50);
}

TEST_F(GoToLogDialogTest, CancelClosesWithoutANumber) {
    dialog.show();
    dialog.edit()->setText(QStringLiteral("5"));
    dialog.cancelButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.logNumber(), -1);
}

// The help windows and load windows plugged into the main window.
class HelpWindowsInMainTest : public ::testing::Test {
protected:
    void SetUp() override {
        MainWindowHooks hooks;
        AddDataEntryHooks(hooks);
        main = fixture.make(hooks);
    }
    void TearDown() override {
        prompt.allowAny();
        main.reset();
        Settle();
    }

    int count(const char* title) {
        int n = 0;
        for (QMdiSubWindow* sub : main->clientArea().subWindowList())
            n += sub->windowTitle() == QString::fromLatin1(title) ? 1 : 0;
        return n;
    }

    MainWindowFixture fixture;
    ScriptedPrompt prompt;
    std::unique_ptr<TfrmMain> main;
};

TEST_F(HelpWindowsInMainTest, OneRangesWindowAtATime) {
    main->mnuRangesClick();
    main->mnuRangesClick();
    EXPECT_EQ(count("Codes, Values, and Ranges"), 1);
    main->clientArea().currentSubWindow()->close();
    Settle();
    EXPECT_EQ(count("Codes, Values, and Ranges"), 0);
    main->mnuRangesClick();
    EXPECT_EQ(count("Codes, Values, and Ranges"), 1);
    main->mnuKeyboardShortcutsClick();
    EXPECT_EQ(count("Keyboard Shortcuts"), 1);
    EXPECT_EQ(main->openChildWindows(), 2);
}

TEST_F(HelpWindowsInMainTest, NewLoadOpensALoadWindowAndF1ShowsTheShortcuts) {
    main->show();
    Settle();
    main->mnuNewLoadClick();
    ASSERT_EQ(main->openLoadWindows(), 1);
    auto* window = dynamic_cast<TfrmDataEntry*>(main->activeChild());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Str(window->windowTitle()).rfind("BRIMLO - Data Entry - ", 0), 0u);
    QTest::keyClick(window->focusedControl(), Qt::Key_F1);
    EXPECT_EQ(count("Keyboard Shortcuts"), 1);
    const std::string name = window->document().fileName();
    prompt.expect("Save file '" + name + "' before closing?", PromptAnswer::No);
    main->mnuExitClick();
    Settle();
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(main->openLoadWindows(), 0);
}

} // namespace
} // namespace brimlo::testing

namespace brimlo::testing {
namespace {

TEST_F(HelpWindowsInMainTest, AWorkspaceLeftBehindOpensInALoadWindow) {
    WorkspaceCounter counter;
    LoadEnvironment env;
    env.appDataDirectory = fixture.dir;
    env.defaults = &main->defaults();
    env.counter = &counter;
    env.prompt = &main->prompt();
    {
        auto left = LoadDocument::NewLoad(env);
        left->log().insert();
        left->log().post();
    } // the run ended without closing the load: its tables stay
    prompt.expect("Data exists in temporary workspace.\nDo you want to use this data?\nYes, Load "
                  "the temporary workspace (Yes)\nNo, delete data in temporary workspace "
                  "(No)\nCancel, don't use the temporary workspace but don't delete it either "
                  "(Cancel)",
                  PromptAnswer::Yes);
    main->RecoverWorkspaces();
    EXPECT_TRUE(prompt.allExpectedShown());
    ASSERT_EQ(main->openLoadWindows(), 1);
    auto* window =
        dynamic_cast<TfrmDataEntry*>(main->clientArea().subWindowList().front()->widget());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->document().log().recordCount(), 2);
}

} // namespace
} // namespace brimlo::testing

namespace brimlo::testing {
namespace {

// A load file of three logs as another run saved it.
std::string WriteSampleLoad(const std::string& dir) {
    LoadData load;
    load.hasHeader = true;
    load.header.LESSEE = "ACME";
    load.header.DISP = "CTL";
    load.header.HTOPD = 10;
    load.header.HSPECIES = "S";
    load.header.HCONDCODE = "GR";
    load.header.HPRODCODE = "01";
    load.header.SAWLOGS = "Y";
    load.header.DATEWEIGHED = Date::fromYmd(2006, 12, 15);
    load.header.SCALER_NAME = "PAT";
    load.header.SCALER_PERMIT = "P1";
    for (int32_t n = 1; n <= 3; ++n) {
        LogRecord log;
        log.LOGNUM = n;
        log.SPECIES = "S";
        log.CONDCODE = "GR";
        log.PRODCODE = "01";
        log.TOPD = 20;
        log.LENGTH = 50;
        log.BUTTD = 30;
        log.GROSSVOL = 256;
        load.logs.push_back(log);
    }
    const std::string file = dir + "AB00700123.txt";
    ScriptedPrompt prompt;
    EXPECT_TRUE(WriteLoadFile(load, file, prompt));
    return file;
}

class OpenLoadInMainTest : public ::testing::Test {
protected:
    void SetUp() override {
        MainWindowHooks hooks;
        AddDataEntryHooks(hooks);
        hooks.chooseLoadFile = [this](TfrmMain&, const std::string&) { return chosen; };
        main = fixture.make(hooks);
        main->show();
        Settle();
    }
    void TearDown() override {
        prompt.allowAny();
        main.reset();
        Settle();
    }

    MainWindowFixture fixture;
    ScriptedPrompt prompt;
    std::unique_ptr<TfrmMain> main;
    std::string chosen;
};

TEST_F(OpenLoadInMainTest, OpensTheFileOnceAndBringsItsWindowForward) {
    chosen = WriteSampleLoad(fixture.dir);
    main->mnuOpenLoadClick();
    ASSERT_EQ(main->openLoadWindows(), 1);
    auto* window = dynamic_cast<TfrmDataEntry*>(main->activeChild());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Str(window->windowTitle()), "BRIMLO - Data Entry - " + chosen);
    EXPECT_EQ(window->document().log().recordCount(), 3);
    EXPECT_EQ(window->document().log().field("LOGNUM").asInt(), 3); // on the last log
    main->mnuNewLoadClick();
    ASSERT_EQ(main->openLoadWindows(), 2);
    main->mnuOpenLoadClick();
    EXPECT_EQ(main->openLoadWindows(), 2);
    EXPECT_EQ(main->activeChild(), window);
}

TEST_F(OpenLoadInMainTest, AFileTheReaderRefusesOpensNoWindow) {
    chosen = fixture.dir + "missing.txt";
    prompt.expect("Error: Unable to open file: '" + chosen + "'");
    main->mnuOpenLoadClick();
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(main->openLoadWindows(), 0);
}

} // namespace
} // namespace brimlo::testing
