#include "MasterRecords.h"
#include "common/PostgresServer.h"
#include "master/CMaster.h"
#include "master/MasterFields.h"
#include "master/PgMasterSchema.h"
#include "master/PgMasterStore.h"
#include "support/PgConnection.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <unistd.h>

namespace {

using namespace brimlo;

// One server for the run, syncing its commits to disk as a real one does.
testing::PostgresServer& Server() {
    static testing::PostgresServer server(true);
    return server;
}

// A post of one load to a master on a PostgreSQL server on this computer,
// over TCP on the loopback: half of them add a load, half replace one.
// p50_ms is the median of the single posts.
void BM_SharedMasterPostLoopback(benchmark::State& state) {
    static const std::string uri = Server().createDatabase("postbench");
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
BENCHMARK(BM_SharedMasterPostLoopback)->Iterations(1000)->Unit(benchmark::kMillisecond);

// The master ASCII file of a server's master of state.range(0) records,
// every field filled, groups 1 to 12 in turn: read from the server and
// written, durable, to disk.
void BM_SharedMasterExportToAscii(benchmark::State& state) {
    const int records = static_cast<int>(state.range(0));
    static const std::string uri = Server().createDatabase("exportbench");
    PgMasterStore store(uri);
    if (store.count() != records) {
        store.post({bench::FilledMasterRecord(0), "bench", MasterPost::Now()});
        // The server copies the first record, changing the key and a few
        // fields, much faster than posting each.
        store.connection().exec(
            "INSERT INTO master (" + PgMasterSchema::Columns() + ", POSTED_BY, POSTED_AT) SELECT " +
            [] {
                std::string list;
                for (const FieldDef& f : MasterFieldList())
                    list += (list.empty() ? "" : ", ") +
                            (f.name == "LOAD_NUM"     ? std::string("g")
                             : f.name == "NUM_GROUPS" ? std::string("1 + g % 12")
                             : f.name == "LESSEE"     ? std::string("'LESSEE ' || g")
                                                      : f.name);
                return list;
            }() +
            ", POSTED_BY, POSTED_AT FROM master, generate_series(1, " +
            std::to_string(records - 1) + ") g");
    }
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("brimlo-bench-" + std::to_string(::getpid()) + ".out");
    CMaster master;
    for (auto _ : state)
        if (!master.WriteMasterAscii(file.string(), store, "Y"))
            state.SkipWithError("export failed");
    std::filesystem::remove(file);
}
BENCHMARK(BM_SharedMasterExportToAscii)
    ->Arg(200000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
