#include "load/LoadDocument.h"
#include "load/LoadFileWriter.h"
#include "load/WorkspaceCounter.h"
#include "support/DefaultsLayout.h"
#include "support/SqliteStore.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

namespace {

using namespace brimlo;

// A full load (2400 logs) in a workspace of its own, in a scratch directory.
class FullLoad {
public:
    FullLoad() {
        std::string pattern = (std::filesystem::temp_directory_path() / "brimlo-bench-XXXXXX");
        dir_ = ::mkdtemp(pattern.data());
        defaults_ =
            std::make_unique<Dataset>(SqliteStore::create(dir_ + "/defaults.db", DefaultsFields()));
        writeDefaults();
        doc_ = LoadDocument::NewLoad(env());
        doc_->windowShown();
        keyLogs();
    }
    ~FullLoad() {
        doc_->Close();
        doc_.reset();
        defaults_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    FullLoad(const FullLoad&) = delete;
    FullLoad& operator=(const FullLoad&) = delete;

    LoadDocument& doc() { return *doc_; }
    const std::string& dir() const { return dir_; }

    LoadEnvironment env() {
        LoadEnvironment env;
        env.appDataDirectory = dir_ + "/";
        env.defaults = defaults_.get();
        env.counter = &counter_;
        return env;
    }

    void setMethod(const char* method) {
        Dataset& header = doc_->header();
        header.edit();
        header.setField("VOL_CALC_METH", method);
        header.post();
    }

private:
    void writeDefaults() {
        defaults_->insert();
        defaults_->setField("SPECIES", "S");
        defaults_->setField("CONDCODE", "GR");
        defaults_->setField("PRODCODE", "01");
        defaults_->setField("TOPD", int32_t{20});
        defaults_->setField("LENGTH", int32_t{50});
        defaults_->setField("HTOPD", int32_t{10});
        defaults_->setField("HPRODCODE", "01");
        defaults_->setField("SAWLOGS", "Y");
        defaults_->post();
    }

    void keyLogs() {
        std::mt19937 rng(2400);
        const char* species[] = {"S", "P", "A", "PB", "F", "SB"};
        Dataset& log = doc_->log();
        log.beginBulk();
        for (int i = 0; i < 2400; ++i) {
            if (i > 0)
                log.insert();
            log.edit();
            const int top = 2 * static_cast<int>(2 + rng() % 30);
            log.setField("SPECIES", species[rng() % 6]);
            log.setField("TOPD", int32_t{top});
            const int butt = top + 2 * static_cast<int>(rng() % 10);
            log.setField("BUTTD", int32_t{butt < 8 ? 8 : butt});
            log.setField("LENGTH", int32_t{2 * static_cast<int>(3 + rng() % 34)});
            if (i % 4 == 0) {
                log.setField("CULL_TYPE", "3");
                log.setField("CULL_METH", "3");
                log.setField("C1", int32_t{static_cast<int>(rng() % 60)});
            }
            log.post();
        }
        log.endBulk();
    }

    std::string dir_;
    WorkspaceCounter counter_;
    std::unique_ptr<Dataset> defaults_;
    std::unique_ptr<LoadDocument> doc_;
};

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
    if (!WriteLoadFile(load.doc().BuildLoadData(), path)) {
        state.SkipWithError("the load file could not be written");
        return;
    }
    for (auto _ : state) {
        auto doc = LoadDocument::OpenLoadFile(load.env(), path);
        state.PauseTiming();
        doc->Close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenLoadFileIntoWorkspace)->Unit(benchmark::kMillisecond);

// Saving a 2400-log load from its workspace, the flush included.
void BM_SaveFullLoad(benchmark::State& state) {
    FullLoad load;
    const std::string path = load.dir() + "/saved.txt";
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteLoadFile(load.doc().BuildLoadData(), path));
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
    for (auto _ : state) {
        top = top == keyed ? keyed - 2 : keyed;
        log.edit();
        log.setField("TOPD", int32_t{top});
        log.post();
    }
}
BENCHMARK(BM_TopDiameterReactionWithPost)->Unit(benchmark::kMicrosecond);

} // namespace
