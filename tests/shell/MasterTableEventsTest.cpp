#include "MainWindowTestSupport.h"
#include "common/ScriptedPrompt.h"
#include "master/MainTables.h"

#include <QAction>
#include <QMdiArea>
#include <QPointer>
#include <gtest/gtest.h>

using namespace brimlo;
using namespace brimlo::testing;

namespace {

class MasterTableEvents : public ::testing::Test {
protected:
    void SetUp() override {
        MainWindowHooks hooks;
        hooks.createMaintenance = [this](TfrmMain&) {
            maintenance = new FakeChild(QStringLiteral("Master File Maintenance"));
            return maintenance.data();
        };
        window = fixture.make(hooks);
        window->show();
        Settle();
    }

    MainWindowFixture fixture;
    std::unique_ptr<TfrmMain> window;
    QPointer<FakeChild> maintenance;
};

TEST_F(MasterTableEvents, MaintenanceLoadsTheCurrentRecordAndFollowsTheTable) {
    Dataset& master = window->tables().master();
    AddMasterRecord(master, 11);
    AddMasterRecord(master, 22, {{"MILLCODE", Value("CD")}});
    master.first();
    window->action("mnuMasterMaintenance")->trigger();
    ASSERT_TRUE(maintenance);
    EXPECT_EQ("AB", window->masterRecord().MILLCODE);
    EXPECT_EQ(11, window->masterRecord().LOAD_NUM);
    EXPECT_TRUE(window->action("mnuPrintCurrentMaster")->isEnabled());

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
