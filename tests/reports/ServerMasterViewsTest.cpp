#include "common/PostgresServer.h"
#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "master/MasterFields.h"
#include "master/MasterTable.h"
#include "master/ParadoxMasterStore.h"
#include "master/PgMasterStore.h"
#include "master/PgMasterTableStore.h"
#include "master/SharedMasterSupport.h"
#include "master/TfrmMasterMaintenance.h"
#include "reports/MasterFullReport.h"
#include "reports/MasterSummaryReport.h"
#include "support/Dataset.h"
#include "support/ParadoxStore.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace brimlo;
using namespace brimlo::testing;

namespace {

// Everything a report prints over the master, page by page, band by band.
template <class Form> std::vector<std::string> Printed(Dataset& master) {
    Form form;
    form.Prepare(master);
    const BandedReport& report = form.report();
    std::vector<std::string> lines;
    for (int page = 0; page < report.pageCount(); ++page)
        for (const BandedReport::Placement& placed : report.placementsOf(page)) {
            const ReportBand band = report.bandOf(placed);
            for (const ReportElement& e : band.elements())
                lines.push_back(std::to_string(page) + " " + std::to_string(placed.top) + " " +
                                std::to_string(e.x) + "," + std::to_string(e.y) + " " +
                                e.text.toStdString());
        }
    return lines;
}

// What the window shows: its label and every edit shown, by name.
std::string Shown(const TfrmMasterMaintenance& window) {
    std::string shown = window.recordLabel()->text().toStdString();
    for (const QLineEdit* edit : window.findChildren<QLineEdit*>())
        if (!edit->isHidden())
            shown += "|" + edit->objectName().toStdString() + "=" + edit->text().toStdString();
    return shown;
}

// The window over a master, keyed: to the end, back to the start, then
// forward over every record.
std::vector<std::string> Walk(TfrmMasterMaintenance& window) {
    QWidget* navigator = window.findChild<QWidget*>(QStringLiteral("navMaster"));
    std::vector<Qt::Key> keys = {Qt::Key_End, Qt::Key_Left, Qt::Key_Home};
    keys.resize(keys.size() + 75, Qt::Key_Right);
    std::vector<std::string> seen;
    for (Qt::Key key : keys) {
        QTest::keyClick(navigator, key);
        seen.push_back(Shown(window));
    }
    return seen;
}

} // namespace

// The same posts reach a server and a master.db; the window and both
// reports then show the same over either. There are more records than a
// page the window reads from the server at a time.
TEST(ServerMasterViews, WindowAndReportsOverTheServerEqualThoseOverMasterDb) {
    if (!PostgresServer::Available())
        GTEST_SKIP() << "the PostgreSQL server programs are not installed";
    PostgresServer server;
    const std::string uri = server.createDatabase("views");
    PgMasterStore posted(uri);
    TempDir dir;
    Dataset file(ParadoxStore::create((dir / "master.db").string(), MasterFieldList()));
    MasterTable fileTable(file);
    ParadoxMasterStore filePosted(fileTable);
    const auto post = [&](const std::string& mill, int load, int version) {
        const MasterPost p{SharedMasterRecord(mill, load, version), "house1", MasterPost::Now()};
        posted.post(p);
        filePosted.post(p);
    };
    for (int load = 1; load <= 70; ++load)
        post(load % 3 == 0 ? "ZX" : "AB", load, 0);
    for (int load = 5; load <= 65; load += 10)
        post(load % 3 == 0 ? "ZX" : "AB", load, 2); // replaced in place

    std::unique_ptr<Dataset> onServer =
        OpenServerMasterDataset(std::make_unique<PgMasterStore>(uri));
    ASSERT_EQ(onServer->recordCount(), 70);
    EXPECT_EQ(Printed<TfrmMasterSummary>(*onServer), Printed<TfrmMasterSummary>(file));
    EXPECT_EQ(Printed<TfrmMasterFull>(*onServer), Printed<TfrmMasterFull>(file));

    MaintenanceCallbacks follow;
    follow.followMoves = true;
    InstalledPrompt boxes;
    TfrmMasterMaintenance serverWindow(*onServer, boxes, follow);
    TfrmMasterMaintenance fileWindow(file, boxes, follow);
    EXPECT_EQ(Walk(serverWindow), Walk(fileWindow));
    EXPECT_EQ(serverWindow.recordLabel()->text(), QStringLiteral("Record: 70 of 70"));

    // Locating a load (as posting does) and deleting it, in both.
    ScriptedPrompt prompt;
    for (Dataset* master : {onServer.get(), &file}) {
        ASSERT_TRUE(MasterTable(*master).locate("ZX", 66, 1));
        prompt.expect("Delete record?", PromptAnswer::Yes);
        QTest::keyClick((master == &file ? fileWindow : serverWindow)
                            .findChild<QWidget*>(QStringLiteral("navMaster")),
                        Qt::Key_Delete);
    }
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(Shown(serverWindow), Shown(fileWindow));
    EXPECT_FALSE(posted.find({"ZX", 66, 1})); // gone from the server
    EXPECT_EQ(posted.count(), 69);
    EXPECT_FALSE(MasterTable(*onServer).locate("ZX", 66, 1));
    EXPECT_EQ(Walk(serverWindow), Walk(fileWindow));
    EXPECT_EQ(serverWindow.recordLabel()->text(), QStringLiteral("Record: 69 of 69"));
}
