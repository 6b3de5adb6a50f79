// Moves in the master maintenance window over a 50,000-record master.
// Start-up is timed from outside the program, by bench/scale.py.
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

// One move in the master maintenance window over a 50,000-record master:
// the navigator's next button (prior on the way back), the window redrawn.
void BM_MasterMaintenanceMove(benchmark::State& state) {
    bench::BenchApplication();
    const std::string dir = bench::MakeScratchDirectory() + "/";
    bench::WriteFilledMaster(dir + "master.db", 50000);
    MainWindowHooks hooks = StandardWindowHooks();
    hooks.settings.setAppDataDirectory(dir);
    testing::SilentPrompt prompt;
    hooks.prompt = &prompt;
    auto main = std::make_unique<TfrmMain>(std::move(hooks));
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
