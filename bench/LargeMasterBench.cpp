// The main window with a large master: start-up over a data directory whose
// master.db holds 50,000 records, and moves in its maintenance window.
#include "BenchApplication.h"
#include "FullLoad.h"
#include "MasterRecords.h"
#include "master/TfrmMasterMaintenance.h"
#include "rules/Cglobals.h"
#include "shell/TfrmMain.h"
#include "shell/WindowHooks.h"

#include <QApplication>
#include <QToolButton>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>

namespace {

using namespace brimlo;

void BM_StartupWith50kMaster(benchmark::State& state) {
    bench::BenchApplication();
    const std::string dir = bench::MakeScratchDirectory() + "/";
    bench::WriteFilledMaster(dir + "master.db", 50000);
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

// One move in the master maintenance window over a 50,000-record master:
// the navigator's next button (prior on the way back), the window redrawn.
void BM_MasterMaintenanceMove(benchmark::State& state) {
    bench::BenchApplication();
    const std::string dir = bench::MakeScratchDirectory() + "/";
    bench::WriteFilledMaster(dir + "master.db", 50000);
    Globals().setAppDataDirectory(dir);
    auto main = std::make_unique<TfrmMain>(StandardWindowHooks());
    main->resize(1280, 900);
    main->show();
    main->mnuMasterMaintenanceClick();
    QCoreApplication::processEvents();
    TfrmMasterMaintenance* window = nullptr;
    for (QWidget* child : main->findChildren<QWidget*>()) {
        if (auto* found = dynamic_cast<TfrmMasterMaintenance*>(child))
            window = found;
    }
    if (!window) {
        state.SkipWithError("the maintenance window did not open");
        return;
    }
    QToolButton* next = window->navButton("btnNext");
    QToolButton* prior = window->navButton("btnPrior");
    int step = 0;
    for (auto _ : state) {
        // Forty steps on, forty back, and again.
        (step++ / 40 % 2 == 0 ? next : prior)->click();
        QCoreApplication::processEvents();
    }
    main.reset();
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}
BENCHMARK(BM_MasterMaintenanceMove)->Unit(benchmark::kMillisecond);

} // namespace
