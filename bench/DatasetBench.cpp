// Posting one log record of a workspace: the work of the dataset and the
// store around the disk flush must stay well below a millisecond, so that
// keying a load never waits on anything but the disk itself.

#include "SampleTimes.h"
#include "load/LoadLayouts.h"
#include "support/Dataset.h"
#include "support/SqliteStore.h"
#include "support/TableFiles.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace brimlo;

class Workspace {
public:
    explicit Workspace(bool flush) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "brimlo-bench-XXXXXX").string();
        dir_ = mkdtemp(pattern.data()) ? pattern : std::string();
        auto store = SqliteStore::create(dir_ + "/Log1.db", LogFields());
        store->setFlushToDisk(flush);
        ds = std::make_unique<Dataset>(std::move(store), "LOGNUM");
        ds->beginBulk();
        for (int n = 1; n <= 200; ++n)
            append(n);
        ds->endBulk();
    }
    ~Workspace() {
        ds.reset();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    void append(int logNum) {
        ds->insert();
        ds->setField(0, logNum);
        fill(logNum);
        ds->post();
    }

    // Every one of the 19 fields assigned, as a recomputed log has them.
    void fill(int seed) {
        ds->setField(1, "SP");
        ds->setField(2, "GR");
        ds->setField(3, "01");
        ds->setField(4, 10 + seed % 40);
        ds->setField(5, 48);
        ds->setField(6, seed % 7);
        ds->setField(7, 0);
        ds->setField(8, 0);
        ds->setField(9, "3");
        ds->setField(10, "1");
        ds->setField(11, 123.0 + seed);
        ds->setField(12, 12.0);
        ds->setField(13, 30);
        ds->setField(14, "");
        ds->setField(15, 0);
        ds->setField(16, 0);
        ds->setField(17, "N");
        ds->setField(18, 0);
    }

    std::unique_ptr<Dataset> ds;

private:
    std::string dir_;
};

// Edit one log, assign its fields, post: the scaler leaving a log.
void PostEditedLog(benchmark::State& state, bool flush) {
    Workspace ws(flush);
    bench::SampleTimes times;
    int seed = 0;
    ws.ds->first();
    for (auto _ : state) {
        times.measure([&] {
            ws.ds->edit();
            ws.fill(++seed);
            ws.ds->post();
        });
    }
    times.report(state);
}

void BM_LogPostWithoutFlush(benchmark::State& state) {
    PostEditedLog(state, false);
}
BENCHMARK(BM_LogPostWithoutFlush)->Unit(benchmark::kMicrosecond)->Iterations(3000);

void BM_LogPostFlushedToDisk(benchmark::State& state) {
    PostEditedLog(state, true);
}
BENCHMARK(BM_LogPostFlushedToDisk)->Unit(benchmark::kMicrosecond)->Iterations(300);

// A new log appended at the end of the key order and posted.
void BM_LogAppendWithoutFlush(benchmark::State& state) {
    Workspace ws(false);
    bench::SampleTimes times;
    int logNum = 1000;
    for (auto _ : state)
        times.measure([&] { ws.append(++logNum); });
    times.report(state);
}
BENCHMARK(BM_LogAppendWithoutFlush)->Unit(benchmark::kMicrosecond)->Iterations(2200);

// Reading a whole load in one bulk: 2400 logs, one flush at the end.
void BM_LoadOf2400LogsInOneBulk(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto ws = std::make_unique<Workspace>(true);
        state.ResumeTiming();
        ws->ds->beginBulk();
        for (int n = 1001; n <= 3400; ++n)
            ws->append(n);
        ws->ds->endBulk();
        state.PauseTiming();
        ws.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadOf2400LogsInOneBulk)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
