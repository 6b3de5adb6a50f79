// The defaults and maintenance windows as the main window holds them.
#include "MainWindowTestSupport.h"
#include "common/ClippedLabels.h"
#include "master/TfrmMasterMaintenance.h"
#include "shell/DbEdit.h"
#include "shell/MaintenanceChildWindow.h"
#include "shell/TfrmCheckScale.h"
#include "shell/TfrmDefaults.h"
#include "shell/TfrmRanges.h"

#include <QAction>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <cstdlib>
#include <tuple>

using namespace brimlo;
using namespace brimlo::testing;

namespace {

// A master record of one group with that many logs.
void AddGroupRecord(Dataset& master, int32_t loadNum, int32_t logs) {
    AddMasterRecord(master, loadNum,
                    {{"NUM_GROUPS", Value(int32_t{1})},
                     {"SPCDPR1", Value("SPGR01")},
                     {"LOGNUMS1", Value(logs)}});
}

class SingleWindowsInMain : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowHooks hooks;
        hooks.createMaintenance = CreateMaintenanceWindow;
        hooks.createDefaults = CreateDefaultsWindow;
        hooks.createRanges = [](TfrmMain&) -> QWidget* { return new TfrmRanges; };
        open(hooks);
    }

    Dataset& defaults() { return window->tables().defaults(); }
    Dataset& master() { return window->tables().master(); }
    int children() const { return static_cast<int>(window->clientArea().subWindowList().size()); }
    template <typename W> W* active() const { return dynamic_cast<W*>(window->activeChild()); }
    std::string totalLogs() {
        auto* w = active<TfrmMasterMaintenance>();
        return w->findChild<QLineEdit*>(QStringLiteral("edtTotalLogs"))->text().toStdString();
    }
};

// One defaults window; Save reaches it, Close asks and forgets it. The
// check scale comparison is one window too.
TEST_F(SingleWindowsInMain, DefaultsCommandMakesOneWindowThatSaveAndCloseReach) {
    window->action("mnuCompareCheckScale")->trigger();
    window->action("mnuCompareCheckScale")->trigger();
    EXPECT_EQ(children(), 1);
    EXPECT_TRUE(dynamic_cast<TfrmCheckScale*>(window->activeChild()));
    window->action("mnuClose")->trigger();
    Settle();
    ScriptedPrompt prompt;
    prompt.expect("Save before closing?", PromptAnswer::Cancel)
        .expect("Save before closing?", PromptAnswer::No);
    window->action("mnuSystemDefaults")->trigger();
    window->action("mnuSystemDefaults")->trigger();
    EXPECT_EQ(children(), 1);
    auto* frm = active<TfrmDefaults>();
    ASSERT_NE(frm, nullptr);
    SetFields(defaults(), {{"HTOPD", Value(int32_t{20})}});
    DbEdit* lessee = frm->edit("LESSEE");
    lessee->setFocus();
    QTest::keyClicks(lessee, QStringLiteral("north"));
    window->action("mnuSave")->trigger();
    EXPECT_FALSE(defaults().isEditing());
    EXPECT_EQ(defaults().field("LESSEE").asString(), "NORTH");
    frm->edit("MILL_NAME")->setFocus();
    QTest::keyClicks(frm->edit("MILL_NAME"), QStringLiteral("gone"));
    window->action("mnuClose")->trigger();
    Settle();
    EXPECT_EQ(children(), 1);
    window->action("mnuClose")->trigger();
    Settle();
    EXPECT_EQ(children(), 0);
    EXPECT_EQ(window->openChildWindows(), 0);
    EXPECT_TRUE(defaults().field("MILL_NAME").isNull());
    EXPECT_TRUE(prompt.allExpectedShown());
}

// The frame has the size of the window's design; on each page, chosen by
// its letter, the keyboard lands in the first field and every caption shows
// whole, clear of its neighbours.
TEST_F(SingleWindowsInMain, DefaultsPagesFitTheFrameAndTakeTheKeyboard) {
    window->resize(1024, 768);
    window->action("mnuSystemDefaults")->trigger();
    Settle();
    EXPECT_EQ(window->clientArea().currentSubWindow()->size(), QSize(630, 455));
    auto* frm = active<TfrmDefaults>();
    ASSERT_NE(frm, nullptr);
    EXPECT_EQ(QApplication::focusWidget(), frm->edit("LESSEE"));
    const std::vector<std::pair<Qt::Key, const char*>> pages = {
        {Qt::Key_L, "cbSpecies"}, {Qt::Key_D, "edtDataPath"}, {Qt::Key_H, "edtLessee"}};
    for (const auto& [letter, first] : pages) {
        QTest::keyClick(QApplication::focusWidget(), letter, Qt::AltModifier);
        QWidget* focus = QApplication::focusWidget();
        EXPECT_EQ(focus ? focus->objectName().toStdString() : "", first);
        QWidget* page = frm->pages()->currentWidget();
        EXPECT_EQ(ClippedLabels(*page), std::vector<std::string>{});
        EXPECT_EQ(CrowdedParts(*page), std::vector<std::string>{});
    }
}

// The window follows the table as its navigator moves it, by mouse and
// from the keyboard.
TEST_F(SingleWindowsInMain, MaintenanceNavigatorWorksFromTheKeyboardAndTheLastDeleteClosesIt) {
    ScriptedPrompt prompt;
    prompt.expect("Delete record?", PromptAnswer::Yes);
    AddGroupRecord(master(), 1, 3);
    AddGroupRecord(master(), 2, 8);
    AddGroupRecord(master(), 3, 5);
    master().first();
    window->action("mnuMasterMaintenance")->trigger();
    auto* frm = active<TfrmMasterMaintenance>();
    ASSERT_NE(frm, nullptr);
    EXPECT_TRUE(window->action("mnuPrintCurrentMaster")->isEnabled());
    EXPECT_EQ(totalLogs(), "3");
    QTest::mouseClick(frm->navButton("btnNext"), Qt::LeftButton);
    EXPECT_EQ(totalLogs(), "8");
    EXPECT_EQ(frm->recordLabel()->text().toStdString(), "Record: 2 of 3");
    // The keys on the navigator reach it inside the main window.
    QWidget* nav = frm->findChild<QWidget*>(QStringLiteral("navMaster"));
    nav->setFocus();
    QTest::keyClick(nav, Qt::Key_End);
    EXPECT_EQ(totalLogs(), "5");
    QTest::keyClick(nav, Qt::Key_Home);
    EXPECT_EQ(totalLogs(), "3");
    QTest::keyClick(nav, Qt::Key_Delete);
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(master().recordCount(), 2);
    master().first();
    EXPECT_EQ(master().field("LOAD_NUM").asInt(), 2);

    // Deleting the last record closes the window.
    prompt.expect("Delete record?", PromptAnswer::Yes)
        .expect("Delete record?", PromptAnswer::Yes)
        .expect("The master file contains no records.");
    QTest::mouseClick(frm->navButton("btnDelete"), Qt::LeftButton);
    QTest::mouseClick(frm->navButton("btnDelete"), Qt::LeftButton);
    Settle();
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(children(), 0);
    EXPECT_EQ(window->openChildWindows(), 0);
    EXPECT_FALSE(window->action("mnuPrintCurrentMaster")->isEnabled());
}

// Each window opens at its own size with every text whole; pictures for the
// documentation when BRIMLO_SCREENSHOTS names their folder.
TEST_F(SingleWindowsInMain, RangesAndMaintenanceOpenAtTheirSizeWithNothingCut) {
    AddGroupRecord(master(), 1, 3);
    window->resize(1000, 700);
    const std::tuple<const char*, QSize, const char*> windows[] = {
        {"mnuRanges", {630, 405}, "ranges.png"},
        {"mnuMasterMaintenance", {630, 455}, "master-maintenance.png"}};
    for (const auto& [command, size, picture] : windows) {
        SCOPED_TRACE(command);
        window->action(command)->trigger();
        Settle();
        QMdiSubWindow* frame = window->clientArea().currentSubWindow();
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->size(), size);
        QWidget* content = frame->widget();
        const QSize needed = content->minimumSizeHint();
        EXPECT_LE(needed.width(), content->width());
        EXPECT_LE(needed.height(), content->height());
        EXPECT_EQ(ClippedLabels(*content), std::vector<std::string>{});
        if (const char* folder = std::getenv("BRIMLO_SCREENSHOTS"))
            frame->grab().save(QString::fromLatin1(folder) + QLatin1Char('/') +
                               QString::fromLatin1(picture));
    }
}

} // namespace
