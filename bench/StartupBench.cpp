// Start-up with a large master: the main window made over a data directory
// whose master.db holds 50,000 records, to the drawn window.
#include "BenchApplication.h"
#include "FullLoad.h"
#include "MasterRecords.h"
#include "master/MasterFields.h"
#include "rules/Cglobals.h"
#include "shell/TfrmMain.h"
#include "shell/WindowHooks.h"
#include "support/ParadoxTable.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>

namespace {

using namespace brimlo;

void BM_StartupWith50kMaster(benchmark::State& state) {
    bench::BenchApplication();
    const std::string dir = bench::MakeScratchDirectory() + "/";
    {
        auto table = ParadoxTable::create(dir + "master.db", MasterFieldList());
        table->beginBulk();
        for (int i = 0; i < 50000; ++i)
            table->insert(bench::FilledMasterRecord(i));
        table->endBulk();
    }
    Globals().setAppDataDirectory(dir);
    for (auto _ : state) {
        auto main = std::make_unique<TfrmMain>(StandardWindowHooks());
        main->resize(1280, 900);
        main->show();
        QCoreApplication::processEvents();
        state.PauseTiming();
        main.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}
BENCHMARK(BM_StartupWith50kMaster)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
