#include "DataEntryTestSupport.h"
#include "MainWindowTestSupport.h"
#include "common/CheckScaleLoads.h"
#include "load/LoadFileWriter.h"
#include "shell/DataEntryHooks.h"
#include "shell/TdlgGoToLog.h"
#include "shell/TfrmRanges.h"
#include "shell/TfrmShortcuts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <set>

namespace brimlo::testing {
namespace {

std::vector<std::string> Split(const QString& texts) {
    std::vector<std::string> parts;
    for (const QString& part : texts.split(u'|'))
        parts.push_back(Str(part));
    return parts;
}

TEST(HelpWindowsTest, RangesWindowShowsEveryTextAsWritten) {
    TfrmRanges window;
    EXPECT_EQ(Str(window.windowTitle()), "Codes, Values, and Ranges");
    EXPECT_EQ(window.size(), QSize(630, 405));
    std::set<std::string> texts;
    for (const QLabel* label : window.findChildren<QLabel*>())
        texts.insert(Str(label->text()));
    for (const std::string& text : Split(QStringLiteral(
             "Species Codes|S  - Spruce|PB - Black Poplar|SE - Engelmann Spruce|"
             "OD - Other Deciduous|Condition Codes|D  - Dead|IS - Industrial Salvage|"
             "Product Codes|01 - Conifer Sawlogs & Pulp|19 - Laminated Veneer Lumber|"
             "99 - Undersize|Valid Ranges|Butt Diameter (cm):|8 To 150|Top Diameter (cm):|"
             "2 To 76|Log Length (dm):|6 To 72|Cull Types|6 - Shake & Cracks|7 - Crotch|"
             "Allowed Cull Methods|Alberta Cubic|Smalian|3,4,5,7,8|1,2,3,4,5,7|Cull Methods|"
             "6 - Internal Log Reduction|8 - End Rot Reduction")))
        EXPECT_EQ(texts.count(text), 1u) << text;
    // 20 species, 9 conditions, 10 products, 7 types, 8 methods, 7 + 7 allowed lists
    // with their 2 headings, 3 ranges with 3 captions, 7 block headings.
    EXPECT_EQ(window.findChildren<QLabel*>().size(), 20 + 9 + 10 + 7 + 8 + 16 + 6 + 7);
}

// Each key, bold and set to the right, then what it does.
TEST(HelpWindowsTest, ShortcutsWindowListsTheKeysInOrder) {
    TfrmShortcuts window;
    EXPECT_EQ(Str(window.windowTitle()), "Keyboard Shortcuts");
    auto labels = window.findChildren<QLabel*>(); // from the top, left to right on a line
    std::sort(labels.begin(), labels.end(), [](const QLabel* a, const QLabel* b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    std::vector<std::string> texts;
    for (const QLabel* label : labels) {
        texts.push_back(Str(label->text()));
        if (texts.size() % 2 == 1) {
            EXPECT_TRUE(label->font().bold()) << texts.back();
            EXPECT_TRUE(label->alignment().testFlag(Qt::AlignRight)) << texts.back();
        }
    }
    EXPECT_EQ(texts,
              Split(QStringLiteral(
                  "ESC|Cancel changes made to current log record|F1|Function Key Screen|"
                  "F2|Save & Exit Scale Data|F3|Codes, Values, & Ranges|F4|Next Species|"
                  "F5|Print Log Report|F6|Switch between Header and Log tabs|F7|Go to Log Number|"
                  "F8|Cull Entire Log|F9|Shift Cursor (Sp/T/Flag)|+|Next Top Diameter|"
                  "F11|Next Top Diameter|F12|Next Butt Diameter|PGUP|Previous Page of Log Data|"
                  "PGDN|Next Page of Log Data|HOME|Go to First Log Record|END|Go to Last Log "
                  "Record")));
}

// Cancel closes without a number; each refusal shows its box and leaves
// the dialog open without one; the last log is accepted.
TEST(GoToLogDialogTest, RefusesWhatIsNoLogNumberAndAcceptsTheLastLog) {
    ScriptedPrompt prompt;
    TdlgGoToLog dialog{nullptr, 50, prompt};
    EXPECT_EQ(Str(dialog.windowTitle()), "Go To Log #");
    dialog.show();
    dialog.edit()->setText(QStringLiteral("5"));
    dialog.cancelButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.logNumber(), -1);
    dialog.show();
    const auto enter = [&](const char* text) {
        dialog.edit()->setText(QString::fromLatin1(text));
        dialog.okButton()->click();
    };
    const char* const positive = "Error: Please enter an integer value greater than 0.";
    const char* const refused[][3] = {
        {"abc", "Error: Please enter a valid integer value.", "Error: Not a number"},
        {"0", positive, "Error: Less then 0"},
        {"-3", positive, "Error: Less then 0"},
        {"51", "Error: Please enter a log number less than or equal to the number of logs.(50).",
         "Error: Greater than number of logs"}};
    for (const auto& [text, message, caption] : refused) {
        prompt.expect(message);
        enter(text);
        ASSERT_TRUE(prompt.allExpectedShown()) << text;
        EXPECT_EQ(prompt.shown().back().caption, caption);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.logNumber(), -1);
    }
    enter("50");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.logNumber(), 50);
}

// The help windows and load windows plugged into the main window.
class HelpWindowsInMainTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowHooks hooks;
        AddDataEntryHooks(hooks);
        hooks.chooseLoadFile = [this](TfrmMain&, const std::string&) { return chosen; };
        open(hooks);
    }

    ScriptedPrompt prompt;
    std::string chosen;
};

TEST_F(HelpWindowsInMainTest, NewLoadOpensALoadWindowAndF1ShowsTheShortcuts) {
    window->mnuNewLoadClick();
    ASSERT_EQ(window->openLoadWindows(), 1);
    auto* form = dynamic_cast<TfrmDataEntry*>(window->activeChild());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(Str(form->windowTitle()).rfind("BRIMLO - Data Entry - ", 0), 0u);
    QTest::keyClick(form->focusedControl(), Qt::Key_F1);
    window->mnuKeyboardShortcutsClick(); // brings the one window forward
    EXPECT_EQ(window->openChildWindows(), 2);
    EXPECT_EQ(Str(window->clientArea().currentSubWindow()->windowTitle()), "Keyboard Shortcuts");
    const std::string name = form->document().fileName();
    prompt.expect("Save file '" + name + "' before closing?", PromptAnswer::No);
    window->mnuExitClick();
    Settle();
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(window->openLoadWindows(), 0);
}

TEST_F(HelpWindowsInMainTest, AWorkspaceLeftBehindOpensInALoadWindow) {
    WorkspaceCounter counter;
    LoadEnvironment env;
    env.appDataDirectory = fixture.dir;
    env.defaults = &window->defaults();
    env.counter = &counter;
    env.prompt = &window->prompt();
    {
        auto left = LoadDocument::NewLoad(env);
        left->log().insert();
        left->log().post();
    } // the run ended without closing the load: its tables stay
    prompt.expect(kRecoveryQuestion, PromptAnswer::Yes);
    window->RecoverWorkspaces();
    ASSERT_EQ(window->openLoadWindows(), 1);
    auto* form =
        dynamic_cast<TfrmDataEntry*>(window->clientArea().subWindowList().front()->widget());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->document().log().recordCount(), 2);
}

TEST_F(HelpWindowsInMainTest, OpenLoadOpensAReadableFileOnceAndBringsItsWindowForward) {
    chosen = fixture.dir + "AB00700123.txt"; // a file the reader refuses opens no window
    prompt.expect("Error: Unable to open file: '" + chosen + "'");
    window->mnuOpenLoadClick();
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(window->openLoadWindows(), 0);
    LoadData load = CheckScaleBaseLoad(); // three logs
    load.hasHeader = true;
    ASSERT_TRUE(WriteLoadFile(load, chosen, prompt));
    window->mnuOpenLoadClick();
    ASSERT_EQ(window->openLoadWindows(), 1);
    auto* form = dynamic_cast<TfrmDataEntry*>(window->activeChild());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(Str(form->windowTitle()), "BRIMLO - Data Entry - " + chosen);
    EXPECT_EQ(form->document().log().recordCount(), 3);
    EXPECT_EQ(form->document().log().field("LOGNUM").asInt(), 3); // on the last log
    window->mnuNewLoadClick();
    ASSERT_EQ(window->openLoadWindows(), 2);
    window->mnuOpenLoadClick();
    EXPECT_EQ(window->openLoadWindows(), 2);
    EXPECT_EQ(window->activeChild(), form);
    chosen.clear(); // a cancelled dialog does nothing
    window->mnuOpenLoadClick();
    EXPECT_EQ(window->openLoadWindows(), 2);
}

} // namespace
} // namespace brimlo::testing
