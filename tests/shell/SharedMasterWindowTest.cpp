#include "MainWindowTestSupport.h"
#include "common/PostgresServer.h"
#include "common/SilentServer.h"
#include "load/LoadFileSamples.h"
#include "master/MasterFields.h"
#include "master/MasterOutbox.h"
#include "master/MasterStoreProvider.h"
#include "master/PgMasterStore.h"
#include "shell/DataEntryHooks.h"
#include "shell/ExportHooks.h"
#include "shell/ReportHooks.h"
#include "support/ParadoxStore.h"

#include <QFileDialog>
#include <QSettings>
#include <QTest>
#include <fstream>

using namespace brimlo;
using namespace brimlo::testing;

namespace {

const char* const kOfflineText =
    "The master database server cannot be reached. The load is kept on this computer and will "
    "be posted to the master database when the server is back.";

class SharedMasterWindow : public MainWindowTest {
protected:
    void SetUp() override {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(fixture.dir));
        settingsFile = fixture.dir + "Brimlo/brimlo.conf";
    }

    // The main window as the program builds it, the master chosen by
    // settings written beforehand.
    void openOn(int serverPort = 0) {
        if (serverPort != 0) {
            QSettings settings(QString::fromStdString(settingsFile), QSettings::IniFormat);
            settings.setValue(QStringLiteral("MasterDatabase/Location"), QStringLiteral("server"));
            settings.setValue(QStringLiteral("MasterDatabase/Host"), QStringLiteral("127.0.0.1"));
            settings.setValue(QStringLiteral("MasterDatabase/Port"), serverPort);
            settings.setValue(QStringLiteral("MasterDatabase/Database"), QStringLiteral("house"));
            settings.setValue(QStringLiteral("MasterDatabase/User"), QStringLiteral("brimlo"));
        }
        MainWindowHooks hooks;
        AddDataEntryHooks(hooks);
        AddExportHooks(hooks,
                       [this](QWidget*, const std::string&) { return fixture.dir + "m.out"; });
        hooks.chooseLoadFile = [this](TfrmMain&, const std::string&) { return chosen; };
        ReportPreviews previews; // the loads the master summary is given
        previews.masterSummary = [this](QWidget*, Dataset& master, Prompt&) {
            summarised.clear();
            for (master.first(); !master.eof(); master.next())
                summarised.push_back(master.field(kMasterLoadNum).asInt());
        };
        AddReportHooks(hooks, std::move(previews));
        open(hooks);
    }

    // Opens a load file of that load number and saves it with Ctrl+S.
    void saveLoad(int loadNum) {
        char number[8];
        std::snprintf(number, sizeof number, "%06d", loadNum);
        chosen = fixture.dir + "load" + number + ".txt";
        std::ofstream(chosen) << SampleHeaderWith(169, number) << "\r\n" << kSampleLogLine;
        window->mnuOpenLoadClick();
        Settle();
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
        Settle();
    }

    // The server's load numbers in its order, over a connection of its own.
    static std::vector<int32_t> LoadNumbers(const std::string& uri) {
        PgMasterStore store(uri);
        std::vector<int32_t> numbers;
        store.forEach([&](const Record& r) { numbers.push_back(r[kMasterLoadNum].asInt()); });
        return numbers;
    }

    std::string settingsFile;
    std::string chosen;
    std::vector<int32_t> summarised;
};

TEST_F(SharedMasterWindow, MasterDatabaseDialogKeepsTheChoiceInTheUsersSettings) {
    openOn();
    const struct {
        const char* name;
        std::vector<std::pair<QKeySequence, const char*>> keys; // a key, then text typed
        const char* location;
        const char* uri; // empty: master.db
    } cases[] = {
        {"server",
         {{QKeySequence(Qt::ALT | Qt::Key_P), ""},
          {QKeySequence(Qt::ALT | Qt::Key_H), "db.mill"},
          {QKeySequence(Qt::ALT | Qt::Key_O), ""},
          {QKeySequence(Qt::CTRL | Qt::Key_A), "5433"},
          {QKeySequence(Qt::ALT | Qt::Key_D), "brimlo_master"},
          {QKeySequence(Qt::ALT | Qt::Key_U), "scaler"}},
         "server",
         "postgresql://scaler@db.mill:5433/brimlo_master"},
        {"back to the file", {{QKeySequence(Qt::ALT | Qt::Key_L), ""}}, "file", ""},
        {"server again, as shown",
         {{QKeySequence(Qt::ALT | Qt::Key_P), ""}},
         "server",
         "postgresql://scaler@db.mill:5433/brimlo_master"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OnModal([&] { window->action("mnuMasterDatabase")->trigger(); },
                [&](QWidget* dialog) {
                    QApplication::setActiveWindow(dialog);
                    for (const auto& [key, text] : c.keys) {
                        QTest::keySequence(dialog, key);
                        // A button's mnemonic clicks it a moment later.
                        QTest::qWait(150);
                        QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(text));
                    }
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                });
        QSettings settings(QString::fromStdString(settingsFile), QSettings::IniFormat);
        EXPECT_EQ(settings.value(QStringLiteral("MasterDatabase/Location")).toString(),
                  QString::fromLatin1(c.location));
        EXPECT_EQ(settings.value(QStringLiteral("MasterDatabase/Host")).toString(),
                  QStringLiteral("db.mill"));
        EXPECT_EQ(window->masterStores().serverUri(), c.uri);
        EXPECT_EQ(window->action("mnuExportMasterDb")->isVisible(), *c.uri != '\0');
    }
}

TEST_F(SharedMasterWindow, SavedLoadsReachTheServerThroughTheOutboxAndExportAsMasterDb) {
    if (!PostgresServer::Available())
        GTEST_SKIP() << "no PostgreSQL server programs";
    PostgresServer server;
    const std::string uri = server.createDatabase("house");
    openOn(server.port());
    ScriptedPrompt prompt;
    saveLoad(1001);
    EXPECT_EQ(LoadNumbers(uri), std::vector<int32_t>{1001});
    EXPECT_TRUE(window->tables().masterIsEmpty()); // nothing went into master.db
    window->mnuPrintMasterSummaryClick();          // the master reports read the server
    EXPECT_EQ(summarised, std::vector<int32_t>{1001});

    server.stop();
    prompt.expect(kOfflineText);
    saveLoad(1003);
    saveLoad(1002);
    EXPECT_EQ(prompt.shown().size(), 1u); // told once for both

    server.start();
    window->RetryMasterOutbox(); // as the timer does
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->masterStores().pendingPosts() == 0; }));
    EXPECT_EQ(LoadNumbers(uri), (std::vector<int32_t>{1001, 1003, 1002}));
    window->mnuPrintMasterSummaryClick(); // with every load posted before it ran
    EXPECT_EQ(summarised, (std::vector<int32_t>{1001, 1003, 1002}));

    // Export master.db: the server's records, value for value, in order.
    const std::string target = fixture.dir + "copy/master.db";
    std::filesystem::create_directories(fixture.dir + "copy");
    prompt.expect(target + " holds the 3 records of the master database.");
    OnModal([&] { window->action("mnuExportMasterDb")->trigger(); },
            [&](QWidget* dialog) {
                auto* files = qobject_cast<QFileDialog*>(dialog);
                ASSERT_NE(files, nullptr);
                files->selectFile(QString::fromStdString(target));
                static_cast<QDialog*>(files)->accept();
            });
    EXPECT_TRUE(prompt.allExpectedShown());
    Dataset copy(ParadoxStore::open(target));
    std::vector<Record> written;
    for (copy.first(); !copy.eof(); copy.next())
        written.push_back(copy.record());
    EXPECT_EQ(written, PgMasterStore(uri).readPage(0, 10));

    // The master ASCII file reads the server too (master.db is empty).
    prompt.allowAny();
    window->mnuMasterASCIIClick();
    std::ifstream ascii(fixture.dir + "m.out");
    std::vector<std::string> loads; // positions 13 to 17 of each line
    for (std::string line; std::getline(ascii, line);)
        loads.push_back(line.substr(12, 5));
    EXPECT_EQ(loads, (std::vector<std::string>{" 1001", " 1003", " 1002"}));
}

// A server that takes the connection and never answers holds the retry,
// not the window: the start's retry is still waiting for the server when
// the window is up and taking events.
TEST_F(SharedMasterWindow, RetryAtASilentServerLeavesTheWindowFree) {
    SilentServer server;
    MasterOutbox(fixture.dir + "outbox.db")
        .add({Record(MasterFieldList().size()), "scaler@scale", MasterPost::Now()});
    openOn(server.port());
    ASSERT_TRUE(server.takeConnection());
    EXPECT_TRUE(server.clientWaiting());
    server.hangUp();
    EXPECT_EQ(window->masterStores().pendingPosts(), 1);
}

} // namespace
