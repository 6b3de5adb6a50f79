#include "FlushCounter.h"
#include "FullLoad.h"
#include "SampleTimes.h"
#include "load/LoadDocument.h"
#include "load/LoadFileWriter.h"
#include "load/LogReactions.h"
#include "support/Dataset.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

using namespace brimlo;
using brimlo::bench::FullLoad;

// Switching a full load's method: every log recomputed and posted, then
// the undersize and sawlog rules over the load, as the method reaction does.
void BM_SwitchMethodOfFullLoad(benchmark::State& state) {
    FullLoad load;
    bool alberta = false;
    for (auto _ : state) {
        alberta = !alberta;
        load.setMethod(alberta ? "A" : "S");
    }
    state.counters["logs"] = 2400;
}
BENCHMARK(BM_SwitchMethodOfFullLoad)->Unit(benchmark::kMillisecond);

// The Alberta recomputation and the two product rules called one by one.
void BM_RecalcLoadAlbertaWithProductRules(benchmark::State& state) {
    FullLoad load;
    LogReactions& reactions = load.doc().reactions();
    for (auto _ : state) {
        reactions.RecalcLoadAlberta();
        reactions.ApplyUndersizeRuleToLoad();
        reactions.ApplySawlogRuleToLoad();
    }
}
BENCHMARK(BM_RecalcLoadAlbertaWithProductRules)->Unit(benchmark::kMillisecond);

// Opening a 2400-log load file into a new workspace: read, insert, tally
// and the Smalian recomputation, then the workspace is closed again.
void BM_OpenLoadFileIntoWorkspace(benchmark::State& state) {
    FullLoad load;
    const std::string path = load.dir() + "/full.txt";
    if (!WriteLoadFile(load.doc().BuildLoadData(), path, load.doc().prompt())) {
        state.SkipWithError("the load file could not be written");
        return;
    }
    long flushes = 0;
    for (auto _ : state) {
        const long before = bench::FlushCount();
        auto doc = LoadDocument::OpenLoadFile(load.env(), path);
        flushes = bench::FlushCount() - before;
        state.PauseTiming();
        doc->Close();
        state.ResumeTiming();
    }
    // fsync and fdatasync calls of one open, SQLite's included.
    state.counters["flushes"] = static_cast<double>(flushes);
}
BENCHMARK(BM_OpenLoadFileIntoWorkspace)->Unit(benchmark::kMillisecond);

// Saving a 2400-log load from its workspace, the flush included.
void BM_SaveFullLoad(benchmark::State& state) {
    FullLoad load;
    const std::string path = load.dir() + "/saved.txt";
    for (auto _ : state)
        benchmark::DoNotOptimize(
            WriteLoadFile(load.doc().BuildLoadData(), path, load.doc().prompt()));
}
BENCHMARK(BM_SaveFullLoad)->Unit(benchmark::kMillisecond);

// One top diameter change on a log of a full load: the reaction with its
// checks, volumes, product rules and the post (with its disk flush).
void BM_TopDiameterReactionWithPost(benchmark::State& state) {
    FullLoad load;
    Dataset& log = load.doc().log();
    log.first();
    for (int i = 0; i < 1200; ++i)
        log.next();
    // The log's own top diameter and one 2 cm smaller: both pass the checks.
    const int keyed = log.field("TOPD").asInt();
    int top = keyed;
    bench::SampleTimes times;
    for (auto _ : state) {
        top = top == keyed ? keyed - 2 : keyed;
        times.measure([&] {
            log.edit();
            log.setField("TOPD", int32_t{top});
            log.post();
        });
    }
    times.report(state);
}
BENCHMARK(BM_TopDiameterReactionWithPost)->Unit(benchmark::kMicrosecond)->Iterations(1000);

} // namespace
