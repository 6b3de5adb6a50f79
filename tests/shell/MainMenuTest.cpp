#include "MainWindowTestSupport.h"
#include "common/ScriptedPrompt.h"
#include "support/BrimloError.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace brimlo;
using namespace brimlo::testing;

namespace {

struct Item {
    const char* caption; // nullptr: a separator
    const char* shortcut;
    bool enabled;
};

struct ExpectedMenu {
    const char* caption;
    std::vector<Item> items;
};

// The menu bar as the user must find it when the window first shows.
const ExpectedMenu kMenus[] = {
    {"&File",
     {{"&New Load", "Ctrl+N", true},
      {"&Open Load", "Ctrl+O", true},
      {nullptr, "", true},
      {"Print Master File Summary", "", true},
      {"Print Master File Report (All)", "", true},
      {"Print Master File Report (Current)", "", false},
      {"Print Load Log Listing", "", false},
      {"Print Load Summary", "", false},
      {"Print Full Load Report", "", false},
      {"Compare Check Scale...", "", true},
      {nullptr, "", true},
      {"&Save", "Ctrl+S", false},
      {"Save &As...", "Ctrl+Alt+S", false},
      {nullptr, "", true},
      {"&Close", "Ctrl+W", false},
      {"E&xit", "Alt+X", true}}},
    {"&Edit",
     {{"Master File Maintenance...", "Ctrl+M", true},
      {"System &Defaults...", "Ctrl+D", true},
      {"Master Data&base...", "", true},
      {nullptr, "", true},
      {"Generate Master ASCII file...", "", true}}},
    {"&Window", {{"&Tile", "", true}, {"&Cascade", "", true}}},
    {"Help",
     {{"&Keyboard Shortcuts", "", true},
      {"Values, Codes && &Ranges", "", true},
      {nullptr, "", true},
      {"&About...", "", true}}},
};

std::vector<QAction*> VisibleItems(QMenu* menu) {
    std::vector<QAction*> items;
    for (QAction* item : menu->actions())
        if (item->isVisible())
            items.push_back(item);
    return items;
}

TEST(MainMenu, CaptionsShortcutsAndInitialStates) {
    MainWindowFixture fixture;
    auto window = fixture.make();
    const auto menus = window->menuBar()->actions();
    ASSERT_EQ(std::size(kMenus), static_cast<size_t>(menus.size()));
    for (size_t m = 0; m < std::size(kMenus); ++m) {
        const ExpectedMenu& menu = kMenus[m];
        EXPECT_EQ(QString::fromLatin1(menu.caption), menus[m]->text());
        const auto items = VisibleItems(menus[m]->menu());
        ASSERT_EQ(menu.items.size(), items.size()) << menu.caption;
        for (size_t i = 0; i < items.size(); ++i) {
            const Item& want = menu.items[i];
            if (!want.caption) {
                EXPECT_TRUE(items[i]->isSeparator()) << menu.caption << " item " << i;
                continue;
            }
            EXPECT_EQ(QString::fromLatin1(want.caption), items[i]->text());
            EXPECT_EQ(QKeySequence(QString::fromLatin1(want.shortcut)), items[i]->shortcut())
                << want.caption;
            EXPECT_EQ(want.enabled, items[i]->isEnabled()) << want.caption;
        }
    }
    EXPECT_EQ(QStringLiteral("BRIMLO"), window->windowTitle());
}

TEST(MainMenu, AltFOpensTheFileMenu) {
    MainWindowFixture fixture;
    auto window = fixture.make();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->activateWindow();
    Settle();
    QMenu* file = window->menuBar()->actions().at(0)->menu();
    QTest::keyClick(window.get(), Qt::Key_F, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return file->isVisible(); }, 2000));
    QTest::keyClick(file, Qt::Key_Escape);
}

TEST(MainMenu, AboutShowsVersionAndProgramDate) {
    MainWindowFixture fixture;
    auto window = fixture.make();
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

TEST(MainMenu, MasterCommandsStopOnAnEmptyMasterFile) {
    MainWindowFixture fixture;
    int ran = 0;
    MainWindowHooks hooks;
    hooks.printMasterSummary = [&](TfrmMain&) { ++ran; };
    hooks.printMasterReportAll = [&](TfrmMain&) { ++ran; };
    hooks.generateMasterAscii = [&](TfrmMain&) { ++ran; };
    hooks.createMaintenance = [&](TfrmMain&) {
        ++ran;
        return new QWidget;
    };
    auto window = fixture.make(hooks);
    ScriptedPrompt prompt;
    for (const char* command :
         {"mnuPrintMasterSummary", "mnuPrintAllMaster", "mnuMasterASCII", "mnuMasterMaintenance"}) {
        prompt.expect("The master file contains no records.");
        window->action(command)->trigger();
    }
    EXPECT_EQ(0, ran);
    for (const auto& box : prompt.shown()) {
        EXPECT_EQ("Master file is empty", box.caption);
        EXPECT_EQ(PromptIcon::Error, box.icon);
    }
    EXPECT_EQ(0, window->openChildWindows());
}

TEST(MainMenu, CommandErrorsGoToTheErrorBoxAndTheProgramGoesOn) {
    MainWindowFixture fixture;
    MainWindowHooks hooks;
    hooks.createDefaults = [](TfrmMain&) -> QWidget* { throw BrimloError("Disk full"); };
    auto window = fixture.make(hooks);
    ScriptedPrompt prompt;
    prompt.expect("Disk full.");
    window->action("mnuSystemDefaults")->trigger();
    ASSERT_EQ(1u, prompt.shown().size());
    EXPECT_EQ("BRIMLO", prompt.shown()[0].caption);
    EXPECT_EQ(0, window->openChildWindows());
}

} // namespace
