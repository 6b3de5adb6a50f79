#include "MainWindowTestSupport.h"
#include "support/BrimloError.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

using namespace brimlo;
using namespace brimlo::testing;

namespace {

// The menu bar as the user must find it when the window first shows: per
// menu its items split by '|', an empty item a separator, the shortcut
// after '@', a leading '~' for an item that starts disabled.
const std::pair<const char*, const char*> kMenus[] = {
    {"&File", "&New Load@Ctrl+N|&Open Load@Ctrl+O||Print Master File Summary|"
              "Print Master File Report (All)|~Print Master File Report (Current)|"
              "~Print Load Log Listing|~Print Load Summary|~Print Full Load Report|"
              "Compare Check Scale...||~&Save@Ctrl+S|~Save &As...@Ctrl+Alt+S||~&Close@Ctrl+W|"
              "E&xit@Alt+X"},
    {"&Edit", "Master File Maintenance...@Ctrl+M|System &Defaults...@Ctrl+D|"
              "Master Data&base...||Generate Master ASCII file..."},
    {"&Window", "&Tile|&Cascade"},
    {"Help", "&Keyboard Shortcuts|Values, Codes && &Ranges||&About..."},
};

class MainMenu : public MainWindowTest {};

TEST_F(MainMenu, CaptionsShortcutsAndInitialStates) {
    open();
    const auto menus = window->menuBar()->actions();
    ASSERT_EQ(std::size(kMenus), static_cast<size_t>(menus.size()));
    for (size_t m = 0; m < std::size(kMenus); ++m) {
        EXPECT_EQ(QString::fromLatin1(kMenus[m].first), menus[m]->text());
        const QStringList wanted = QString::fromLatin1(kMenus[m].second).split(u'|');
        QList<QAction*> items = menus[m]->menu()->actions();
        items.removeIf([](const QAction* item) { return !item->isVisible(); });
        ASSERT_EQ(wanted.size(), items.size()) << kMenus[m].first;
        for (qsizetype i = 0; i < items.size(); ++i) {
            QString want = wanted[i];
            const bool enabled = !want.startsWith(u'~');
            want.remove(u'~');
            EXPECT_EQ(want.isEmpty(), items[i]->isSeparator()) << kMenus[m].first << " " << i;
            EXPECT_EQ(want.section(u'@', 0, 0), items[i]->text());
            EXPECT_EQ(QKeySequence(want.section(u'@', 1)), items[i]->shortcut()) << i;
            EXPECT_EQ(enabled, items[i]->isEnabled()) << want.toStdString();
        }
    }
    EXPECT_EQ(QStringLiteral("BRIMLO"), window->windowTitle());
}

TEST_F(MainMenu, AboutShowsVersionAndProgramDate) {
    open();
    window->hooks().settings.setVersionText("1.1.0.0");
    const auto stamp = std::chrono::system_clock::from_time_t(1700000000); // 2023-11-14 UTC
    window->hooks().settings.setProgramDate(stamp);
    ScriptedPrompt prompt;
    prompt.allowAny();
    window->action("mnuAbout")->trigger();
    ASSERT_EQ(1u, prompt.shown().size());
    const auto& box = prompt.shown()[0];
    EXPECT_NE(std::string::npos, box.text.find("1.1.0.0")) << box.text;
    EXPECT_NE(std::string::npos, box.text.find("2023/11/1")) << box.text;
    EXPECT_EQ(PromptIcon::Information, box.icon);
}

TEST_F(MainMenu, MasterCommandsStopOnAnEmptyMasterFileAndErrorsGoToTheErrorBox) {
    int ran = 0;
    MainWindowHooks hooks;
    hooks.printMasterSummary = [&](TfrmMain&) { ++ran; };
    hooks.printMasterReportAll = [&](TfrmMain&) { ++ran; };
    hooks.generateMasterAscii = [&](TfrmMain&) { ++ran; };
    hooks.createMaintenance = [&](TfrmMain&) {
        ++ran;
        return new QWidget;
    };
    hooks.createDefaults = [](TfrmMain&) -> QWidget* { throw BrimloError("Disk full"); };
    open(hooks);
    ScriptedPrompt prompt;
    for (const char* command :
         {"mnuPrintMasterSummary", "mnuPrintAllMaster", "mnuMasterASCII", "mnuMasterMaintenance"}) {
        prompt.expect("The master file contains no records.");
        window->action(command)->trigger();
    }
    EXPECT_EQ(0, ran);
    ASSERT_EQ(4u, prompt.shown().size());
    for (const auto& box : prompt.shown()) {
        EXPECT_EQ("Master file is empty", box.caption);
        EXPECT_EQ(PromptIcon::Error, box.icon);
    }
    EXPECT_EQ(0, window->openChildWindows());
    // A command's error goes to the error box and the program goes on.
    prompt.expect("Disk full.");
    window->action("mnuSystemDefaults")->trigger();
    ASSERT_EQ(5u, prompt.shown().size());
    EXPECT_EQ("BRIMLO", prompt.shown()[4].caption);
    EXPECT_EQ(0, window->openChildWindows());
}

} // namespace
