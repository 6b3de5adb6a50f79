#include "MainWindowTestSupport.h"
#include "common/ScriptedPrompt.h"
#include "support/BrimloError.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>

using namespace brimlo;
using namespace brimlo::testing;

namespace {

bool Enabled(TfrmMain& window, const char* name) {
    return window.action(name)->isEnabled();
}

// A main window whose hooks make fake windows and record what the commands
// did.
class ChildWindowBooks : public ::testing::Test {
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
        h.postLoadToMaster = [this](TfrmMain&, QWidget* w) {
            posted.push_back(w->windowTitle().toStdString());
        };
        window = fixture.make(h);
        window->show();
        Settle();
    }

    MainWindowFixture fixture;
    std::vector<QPointer<FakeChild>> loads;
    std::vector<std::string> posted;
    int ranges = 0;
    std::unique_ptr<TfrmMain> window;
};

// A help window opens at the top left corner.
TEST_F(ChildWindowBooks, HelpWindowTurnsOnSaveAndCloseButNotSaveAs) {
    window->action("mnuRanges")->trigger();
    EXPECT_EQ(QPoint(0, 0), window->clientArea().currentSubWindow()->pos());
    EXPECT_EQ(1, window->openChildWindows());
    EXPECT_EQ(0, window->openLoadWindows());
    EXPECT_TRUE(Enabled(*window, "mnuSave"));
    EXPECT_TRUE(Enabled(*window, "mnuClose"));
    EXPECT_FALSE(Enabled(*window, "mnuSaveAs"));
    EXPECT_FALSE(Enabled(*window, "mnuPrintLog"));

    // Save with the help window active does nothing.
    window->action("mnuSave")->trigger();
    EXPECT_TRUE(posted.empty());

    // The command again brings the one window forward.
    window->action("mnuRanges")->trigger();
    EXPECT_EQ(1, ranges);
    EXPECT_EQ(1, window->openChildWindows());

    window->action("mnuClose")->trigger();
    Settle();
    EXPECT_EQ(0, window->openChildWindows());
    EXPECT_FALSE(Enabled(*window, "mnuSave"));
    EXPECT_FALSE(Enabled(*window, "mnuClose"));

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
        EXPECT_TRUE(Enabled(*window, name)) << name;

    // A help window becomes active: the load commands go off.
    window->action("mnuRanges")->trigger();
    EXPECT_EQ(2, window->openChildWindows());
    EXPECT_FALSE(Enabled(*window, "mnuSaveAs"));
    EXPECT_FALSE(Enabled(*window, "mnuPrintLoadSummary"));

    // Back to the load window.
    window->clientArea().setActiveSubWindow(window->clientArea().subWindowList().first());
    EXPECT_TRUE(Enabled(*window, "mnuSaveAs"));
    // Tile and cascade refit it.
    window->action("mnuTile")->trigger();
    window->action("mnuCascade")->trigger();
    EXPECT_EQ(2, loads[0]->refits);

    // Closing the load window: the load commands go off with it.
    window->action("mnuClose")->trigger();
    Settle();
    EXPECT_EQ(0, window->openLoadWindows());
    EXPECT_EQ(1, window->openChildWindows());
    EXPECT_FALSE(Enabled(*window, "mnuSaveAs"));
    EXPECT_TRUE(Enabled(*window, "mnuSave"));
}

TEST_F(ChildWindowBooks, SaveAndSaveAsPostTheLoadEveryTime) {
    window->action("mnuNewLoad")->trigger();
    FakeChild* load = loads.back();
    window->action("mnuSave")->trigger();
    window->action("mnuSaveAs")->trigger();
    EXPECT_EQ(1, load->saves);
    EXPECT_EQ(1, load->saveAses);
    EXPECT_EQ(std::vector<std::string>(2, "BRIMLO - Data Entry - untitled1.txt"), posted);
}

TEST_F(ChildWindowBooks, ShortcutsReachTheCommands) {
    window->activateWindow();
    QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(1, window->openLoadWindows());
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
    ASSERT_EQ(1u, loads.size());
    EXPECT_EQ(1, loads[0]->saveAses);
    QTest::keyClick(window.get(), Qt::Key_W, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(0, window->openLoadWindows());
}

// Exit asks every child first and stops when one refuses.
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
    EXPECT_EQ(2, loads.size());
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
    EXPECT_FALSE(loads[0]);
    EXPECT_FALSE(loads[1]);
}

TEST_F(ChildWindowBooks, WindowMenuListsTheChildrenAndActivatesOne) {
    window->action("mnuNewLoad")->trigger();
    window->action("mnuRanges")->trigger();
    QMenu* menu = window->menuBar()->actions().at(2)->menu();
    emit menu->aboutToShow();
    QStringList listed;
    QAction* first = nullptr;
    for (QAction* item : menu->actions()) {
        if (item->isVisible() && !item->isSeparator() && item->text().startsWith(u'&') &&
            item->text().at(1).isDigit()) {
            listed << item->text();
            if (!first)
                first = item;
        }
    }
    const QStringList expected = {QStringLiteral("&1 BRIMLO - Data Entry - untitled1.txt"),
                                  QStringLiteral("&2 Codes, Values, and Ranges")};
    EXPECT_EQ(expected, listed);
    ASSERT_NE(nullptr, first);
    first->trigger();
    EXPECT_TRUE(window->activeChildIs(ChildKind::Load));
    // Shown again, the list is rebuilt, not doubled.
    emit menu->aboutToShow();
    int count = 0;
    for (QAction* item : menu->actions())
        count += item->text().startsWith(QStringLiteral("&1 ")) ? 1 : 0;
    EXPECT_EQ(1, count);
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

} // namespace
