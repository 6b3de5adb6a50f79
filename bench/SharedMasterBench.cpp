#include "BenchApplication.h"
#include "MasterRecords.h"
#include "SampleTimes.h"
#include "common/PostgresServer.h"
#include "common/SilentPrompt.h"
#include "master/CMaster.h"
#include "master/MasterFields.h"
#include "master/MasterTable.h"
#include "master/PgMasterSchema.h"
#include "master/PgMasterStore.h"
#include "master/PgMasterTableStore.h"
#include "master/TfrmMasterMaintenance.h"
#include "support/Dataset.h"
#include "support/PgConnection.h"

#include <QCoreApplication>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <memory>
#include <random>
#include <unistd.h>

namespace {

using namespace brimlo;

// One server for the run, syncing its commits to disk as a real one does;
// and one that does not, as the tests run theirs, to tell the sync's share.
testing::PostgresServer& Server(bool durable = true) {
    static testing::PostgresServer synced(true);
    if (durable)
        return synced;
    static testing::PostgresServer unsynced(false);
    return unsynced;
}

// Without Debian's server programs there is nothing to measure.
bool ServerMissing(benchmark::State& state) {
    if (testing::PostgresServer::Available())
        return false;
    state.SkipWithError("skipped: the PostgreSQL server programs are not installed");
    return true;
}

// A post of one load to a master on a PostgreSQL server on this computer,
// over TCP on the loopback: half of them add a load, half replace one.
// p50_ms is the median of the single posts. Argument 1: the server syncs
// each commit to disk (as it must to stand by it); 0: it does not.
void BM_SharedMasterPostLoopback(benchmark::State& state) {
    if (ServerMissing(state))
        return;
    const std::string uri = Server(state.range(0) != 0).createDatabase("postbench");
    PgMasterStore store(uri);
    std::vector<double> times;
    int n = 0;
    for (auto _ : state) {
        const MasterPost post{bench::FilledMasterRecord(n / 2), "bench", MasterPost::Now()};
        ++n;
        const auto start = std::chrono::steady_clock::now();
        store.post(post);
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    state.counters["p50_ms"] = times[times.size() / 2];
}
BENCHMARK(BM_SharedMasterPostLoopback)
    ->Arg(1)
    ->Arg(0)
    ->Iterations(1000)
    ->Unit(benchmark::kMillisecond);

// A master of records records on the server, every field filled, groups
// 1 to 12 in turn; load numbers 0 to records - 1.
void FillServerMaster(PgMasterStore& store, int records) {
    if (store.count() == records)
        return;
    store.post({bench::FilledMasterRecord(0), "bench", MasterPost::Now()});
    // The server copies the first record, changing the key and a few
    // fields, much faster than posting each.
    store.connection().exec("INSERT INTO master (" + PgMasterSchema::Columns() +
                            ", POSTED_BY, POSTED_AT) SELECT " +
                            [] {
                                std::string list;
                                for (const FieldDef& f : MasterFieldList())
                                    list += (list.empty() ? "" : ", ") +
                                            (f.name == "LOAD_NUM"     ? std::string("g")
                                             : f.name == "NUM_GROUPS" ? std::string("1 + g % 12")
                                             : f.name == "LESSEE" ? std::string("'LESSEE ' || g")
                                                                  : f.name);
                                return list;
                            }() +
                            ", POSTED_BY, POSTED_AT FROM master, generate_series(1, " +
                            std::to_string(records - 1) + ") g");
}

// The master ASCII file of a server's master of state.range(0) records,
// every field filled, groups 1 to 12 in turn: read from the server and
// written, durable, to disk.
void BM_SharedMasterExportToAscii(benchmark::State& state) {
    if (ServerMissing(state))
        return;
    const int records = static_cast<int>(state.range(0));
    static const std::string uri = Server().createDatabase("exportbench");
    PgMasterStore store(uri);
    FillServerMaster(store, records);
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("brimlo-bench-" + std::to_string(::getpid()) + ".out");
    CMaster master;
    testing::SilentPrompt prompt;
    for (auto _ : state)
        if (!master.WriteMasterAscii(file.string(), store, "Y", prompt))
            state.SkipWithError("export failed");
    std::filesystem::remove(file);
}
BENCHMARK(BM_SharedMasterExportToAscii)
    ->Arg(200000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The maintenance window over a server's master of state.range(0) records,
// moving as the keys move it: Right and Left (next, prior) a few hundred
// times from each end, Home and End (first, last) in turn, and the
// main window's locate of a load by its key. Each step is timed with the
// window brought up to date (its edits, group rows, totals and label); the
// window opens on the server's ids only.
void BM_SharedMasterMaintenanceKeys(benchmark::State& state) {
    if (ServerMissing(state))
        return;
    const int records = static_cast<int>(state.range(0));
    static const std::string uri = Server().createDatabase("maintenancebench");
    {
        PgMasterStore filler(uri);
        FillServerMaster(filler, records);
    }
    bench::BenchApplication();
    const Record sample = bench::FilledMasterRecord(0);
    const std::string millCode = sample[kMasterMillCode].asString();
    const int16_t pop = static_cast<int16_t>(sample[kMasterPop].asInt());
    std::mt19937 random(20);
    for (auto _ : state) {
        const auto openStart = std::chrono::steady_clock::now();
        std::unique_ptr<Dataset> master =
            OpenServerMasterDataset(std::make_unique<PgMasterStore>(uri));
        MaintenanceCallbacks callbacks;
        callbacks.followMoves = true;
        testing::SilentPrompt prompt;
        TfrmMasterMaintenance window(*master, prompt, callbacks);
        window.show();
        QCoreApplication::processEvents();
        state.counters["open_ms"] =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - openStart)
                .count();
        if (master->recordCount() != records) {
            state.SkipWithError("the server's master does not hold the records");
            break;
        }
        QWidget* navigator = window.findChild<QWidget*>(QStringLiteral("navMaster"));
        const auto key = [&](Qt::Key k) {
            QTest::keyClick(navigator, k);
            QCoreApplication::processEvents();
        };
        bench::SampleTimes next, prior, ends, locate;
        for (int i = 0; i < 300; ++i)
            next.measure([&] { key(Qt::Key_Right); });
        key(Qt::Key_End);
        for (int i = 0; i < 300; ++i)
            prior.measure([&] { key(Qt::Key_Left); });
        for (int i = 0; i < 100; ++i)
            ends.measure([&] { key(i % 2 == 0 ? Qt::Key_Home : Qt::Key_End); });
        MasterTable table(*master);
        std::uniform_int_distribution<int32_t> load(0, records - 1);
        for (int i = 0; i < 200; ++i) {
            const int32_t wanted = load(random);
            locate.measure([&] {
                if (!table.locate(millCode, wanted, pop))
                    state.SkipWithError("a load was not found");
                QCoreApplication::processEvents();
            });
        }
        const std::pair<const char*, bench::SampleTimes*> steps[] = {
            {"next", &next}, {"prior", &prior}, {"first_last", &ends}, {"locate", &locate}};
        for (const auto& [name, times] : steps)
            times->report(state, std::string(name) + "_");
    }
}
BENCHMARK(BM_SharedMasterMaintenanceKeys)
    ->Arg(200000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
