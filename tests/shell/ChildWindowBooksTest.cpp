#include "MainWindowTestSupport.h"
#include "support/BrimloError.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <fstream>

using namespace brimlo;
using namespace brimlo::testing;

namespace {

// A main window whose hooks make fake windows and record what the commands
// did.
class ChildWindowBooks : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowHooks h;
        h.newLoad = [this](TfrmMain&) {
            loads.push_back(new FakeChild(
                QStringLiteral("BRIMLO - Data Entry - untitled%1.txt").arg(loads.size() + 1)));
            return loads.back().data();
        };
        h.createRanges = [this](TfrmMain&) {
            ++ranges;
            return new FakeChild(QStringLiteral("Codes, Values, and Ranges"));
        };
        h.createMaintenance = [this](TfrmMain&) {
            return (maintenance = new FakeChild(QStringLiteral("Master File Maintenance"))).data();
        };
        h.postLoadToMaster = [this](TfrmMain&, QWidget* w) {
            posted.push_back(w->windowTitle().toStdString());
        };
        open(h);
    }

    bool enabled(const char* name) { return window->action(name)->isEnabled(); }

    std::vector<QPointer<FakeChild>> loads;
    QPointer<FakeChild> maintenance;
    std::vector<std::string> posted;
    int ranges = 0;
};

// A help window opens at the top left corner.
TEST_F(ChildWindowBooks, HelpWindowTurnsOnSaveAndCloseButNotSaveAs) {
    window->action("mnuRanges")->trigger();
    EXPECT_EQ(QPoint(0, 0), window->clientArea().currentSubWindow()->pos());
    EXPECT_EQ(1, window->openChildWindows());
    EXPECT_EQ(0, window->openLoadWindows());
    EXPECT_TRUE(enabled("mnuSave"));
    EXPECT_TRUE(enabled("mnuClose"));
    EXPECT_FALSE(enabled("mnuSaveAs"));
    EXPECT_FALSE(enabled("mnuPrintLog"));

    // Save with the help window active does nothing.
    window->action("mnuSave")->trigger();
    EXPECT_TRUE(posted.empty());

    // The command again brings the one window forward.
    window->action("mnuRanges")->trigger();
    EXPECT_EQ(1, ranges);

    window->action("mnuClose")->trigger();
    Settle();
    EXPECT_EQ(0, window->openChildWindows());
    EXPECT_FALSE(enabled("mnuSave"));
    EXPECT_FALSE(enabled("mnuClose"));

    // Closed, the command makes a new one.
    window->action("mnuRanges")->trigger();
    EXPECT_EQ(2, ranges);
    EXPECT_EQ(1, window->openChildWindows());
}

TEST_F(ChildWindowBooks, LoadWindowsFollowTheActiveChild) {
    window->action("mnuNewLoad")->trigger();
    EXPECT_EQ(1, window->openLoadWindows());
    EXPECT_EQ(1, window->openChildWindows());
    for (const char* name : {"mnuSaveAs", "mnuPrintLog", "mnuPrintLoadSummary", "mnuPrintFullLoad",
                             "mnuSave", "mnuClose"})
        EXPECT_TRUE(enabled(name)) << name;

    // A help window becomes active: the load commands go off.
    window->action("mnuRanges")->trigger();
    EXPECT_EQ(2, window->openChildWindows());
    EXPECT_FALSE(enabled("mnuSaveAs"));
    EXPECT_FALSE(enabled("mnuPrintLoadSummary"));

    // Back to the load window.
    window->clientArea().setActiveSubWindow(window->clientArea().subWindowList().first());
    EXPECT_TRUE(enabled("mnuSaveAs"));
    // Tile and cascade refit it.
    window->action("mnuTile")->trigger();
    window->action("mnuCascade")->trigger();
    EXPECT_EQ(2, loads[0]->refits);

    // Closing the load window: the load commands go off with it.
    window->action("mnuClose")->trigger();
    Settle();
    EXPECT_EQ(0, window->openLoadWindows());
    EXPECT_EQ(1, window->openChildWindows());
    EXPECT_FALSE(enabled("mnuSaveAs"));
    EXPECT_TRUE(enabled("mnuSave"));
}

TEST_F(ChildWindowBooks, ShortcutsReachTheCommandsAndSavesPostTheLoad) {
    window->activateWindow();
    QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(1, window->openLoadWindows());
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
    ASSERT_EQ(1u, loads.size());
    EXPECT_EQ(1, loads[0]->saves);
    EXPECT_EQ(1, loads[0]->saveAses);
    EXPECT_EQ(std::vector<std::string>(2, "BRIMLO - Data Entry - untitled1.txt"), posted);
    QTest::keyClick(window.get(), Qt::Key_W, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(0, window->openLoadWindows());
}

TEST_F(ChildWindowBooks, ExitClosesEveryChildThenTheWindowUnlessOneRefuses) {
    window->action("mnuNewLoad")->trigger();
    window->action("mnuNewLoad")->trigger();
    window->action("mnuRanges")->trigger();
    loads[1]->agreeToClose = false;
    window->action("mnuExit")->trigger();
    Settle();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(3, window->openChildWindows()); // none closed before all agree
    EXPECT_EQ(2, window->openLoadWindows());
    EXPECT_TRUE(loads[0] && loads[1]);
    loads[1]->agreeToClose = true;
    window->action("mnuExit")->trigger();
    Settle();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(0, window->openChildWindows());
    EXPECT_FALSE(loads[0] || loads[1]);
}

// A window closed a moment before the main window goes is still queued for
// deletion; it must go without reporting to the half-destroyed main window.
TEST_F(ChildWindowBooks, AClosedChildStillQueuedGoesWithTheMainWindow) {
    window->action("mnuNewLoad")->trigger();
    window->action("mnuNewLoad")->trigger();
    window->action("mnuClose")->trigger();
    EXPECT_TRUE(loads[1]); // closed, its deletion still queued
    window.reset();
    Settle();
    EXPECT_FALSE(loads[0] || loads[1]);
}

TEST_F(ChildWindowBooks, WindowMenuListsTheChildrenAndActivatesOne) {
    window->action("mnuNewLoad")->trigger();
    window->action("mnuRanges")->trigger();
    QMenu* menu = window->menuBar()->actions().at(2)->menu();
    emit menu->aboutToShow();
    emit menu->aboutToShow(); // shown again, the list is rebuilt, not doubled
    QList<QAction*> listed = menu->actions();
    listed.removeIf([](const QAction* item) {
        return !item->isVisible() ||
               !item->text().contains(QRegularExpression(QStringLiteral("^&\\d ")));
    });
    ASSERT_EQ(listed.size(), 2);
    EXPECT_EQ(listed[0]->text(), QStringLiteral("&1 BRIMLO - Data Entry - untitled1.txt"));
    EXPECT_EQ(listed[1]->text(), QStringLiteral("&2 Codes, Values, and Ranges"));
    listed[0]->trigger();
    EXPECT_TRUE(window->activeChildIs(ChildKind::Load));
}

TEST(MainWindowStart, UnusableMasterTableStopsTheStart) {
    MainWindowFixture fixture;
    { fixture.make(); }
    std::ofstream(fixture.temp / "master.db", std::ios::binary | std::ios::trunc)
        << std::string(2048, '\x01');
    try {
        fixture.make();
        ADD_FAILURE() << "a damaged master.db was accepted";
    } catch (const BrimloError& error) {
        EXPECT_NE(std::string::npos, error.text().find(fixture.dir + "master.db")) << error.text();
    }
}

// Bring forward restores a minimized window; with no children Exit closes
// the window and its tables.
TEST_F(ChildWindowBooks, BringForwardRestoresAndExitClosesTheWindowAndItsTables) {
    window->showMinimized();
    Settle();
    window->bringForward();
    EXPECT_FALSE(window->isMinimized());
    EXPECT_TRUE(window->isVisible());
    QTest::keyClick(window.get(), Qt::Key_X, Qt::AltModifier);
    Settle();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->tables().master().isOpen());
    EXPECT_FALSE(window->tables().defaults().isOpen());
}

TEST_F(ChildWindowBooks, MaintenanceLoadsTheCurrentRecordAndFollowsTheTable) {
    Dataset& master = window->tables().master();
    AddMasterRecord(master, 11);
    AddMasterRecord(master, 22, {{"MILLCODE", Value("CD")}});
    master.first();
    window->action("mnuMasterMaintenance")->trigger();
    ASSERT_TRUE(maintenance);
    EXPECT_EQ("AB", window->masterRecord().MILLCODE);
    EXPECT_EQ(11, window->masterRecord().LOAD_NUM);

    master.next();
    ASSERT_FALSE(maintenance->labels.empty());
    EXPECT_EQ("Record: 2 of 2", maintenance->labels.back());
    EXPECT_TRUE(maintenance->wasActive);

    // A second command brings the same window forward.
    window->action("mnuMasterMaintenance")->trigger();
    EXPECT_EQ(1, window->openChildWindows());

    // Deleting one of several records says nothing and keeps the window.
    ScriptedPrompt prompt;
    master.first();
    master.remove();
    EXPECT_EQ(1, master.recordCount());
    EXPECT_EQ("CD", master.field("MILLCODE").asString());
    EXPECT_TRUE(maintenance);
}

} // namespace
