// How fast the load window answers a scaler on a full load: opening a
// 2400-log load file through the main window's command to a drawn window,
// and one navigation key on the log page with the redraw it causes.
#include "BenchApplication.h"
#include "FullLoad.h"
#include "rules/Cglobals.h"
#include "shell/TfrmDataEntry.h"
#include "shell/TfrmMain.h"
#include "shell/WindowHooks.h"
#include "support/Prompt.h"

#include <QApplication>
#include <QTest>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>

namespace {

using namespace brimlo;
using brimlo::bench::FullLoad;

// Answers every box as a scaler leaving a load unsaved would: No, or OK.
class LeaveUnsaved : public Prompt {
public:
    PromptAnswer show(const std::string&, const std::string&, PromptIcon,
                      PromptButtons buttons) override {
        return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::No;
    }
};

void Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// The main window over a data directory of its own, its open command
// choosing the full load's file.
class MainWithFullLoadFile {
public:
    MainWithFullLoadFile() : dataDir_(bench::MakeScratchDirectory()) {
        bench::BenchApplication();
        file_ = load_.writeFile("full.txt");
        MainWindowHooks hooks = StandardWindowHooks();
        hooks.settings.setAppDataDirectory(dataDir_ + "/");
        hooks.prompt = &prompt_;
        hooks.chooseLoadFile = [this](TfrmMain&, const std::string&) { return file_; };
        main_ = std::make_unique<TfrmMain>(std::move(hooks));
        main_->resize(1280, 900);
        main_->show();
        QApplication::setActiveWindow(main_.get());
        Settle();
    }
    ~MainWithFullLoadFile() {
        main_->mnuCloseClick();
        main_.reset();
        Settle();
        std::error_code ignored;
        std::filesystem::remove_all(dataDir_, ignored);
    }
    MainWithFullLoadFile(const MainWithFullLoadFile&) = delete;
    MainWithFullLoadFile& operator=(const MainWithFullLoadFile&) = delete;

    bool ready() const { return !file_.empty(); }
    TfrmMain& main() { return *main_; }

    // Opens the file as the scaler does; answers the drawn window.
    TfrmDataEntry* open() {
        main_->mnuOpenLoadClick();
        QCoreApplication::processEvents();
        // The load window has no meta-object of its own: found by its type.
        for (QWidget* child : main_->findChildren<QWidget*>()) {
            auto* window = dynamic_cast<TfrmDataEntry*>(child);
            if (window && window->hasDocument() && window->document().hasLoad())
                return window;
        }
        return nullptr;
    }

    void close() {
        main_->mnuCloseClick();
        Settle();
    }

private:
    FullLoad load_;
    std::string dataDir_;
    std::string file_;
    LeaveUnsaved prompt_;
    std::unique_ptr<TfrmMain> main_;
};

void BM_DataEntryOpen2400(benchmark::State& state) {
    MainWithFullLoadFile fixture;
    if (!fixture.ready()) {
        state.SkipWithError("the load file could not be written");
        return;
    }
    for (auto _ : state) {
        TfrmDataEntry* window = fixture.open();
        state.PauseTiming();
        if (!window || window->document().log().recordCount() != 2400) {
            state.SkipWithError("the load window did not open with every log");
            break;
        }
        fixture.close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DataEntryOpen2400)->Unit(benchmark::kMillisecond)->Iterations(20);

void Key(TfrmDataEntry& window, Qt::Key key) {
    QTest::keyClick(window.focusedControl(), key);
    QCoreApplication::processEvents();
}

// One key press on the log page of the open full load, the redraw included.
// Down and Page Down walk from the first log and start over at the end;
// End and Home alternate.
void BM_DataEntryKey(benchmark::State& state, Qt::Key key) {
    MainWithFullLoadFile fixture;
    TfrmDataEntry* window = fixture.ready() ? fixture.open() : nullptr;
    if (!window || !window->hasDocument()) {
        state.SkipWithError("the load window did not open");
        return;
    }
    Key(*window, Qt::Key_F6);
    if (!window->onLogPage()) {
        state.SkipWithError("the log page was refused");
        return;
    }
    Dataset& log = window->document().log();
    Key(*window, Qt::Key_Home);
    bool atEnd = false;
    for (auto _ : state) {
        if (key == Qt::Key_End) {
            Key(*window, atEnd ? Qt::Key_Home : Qt::Key_End);
            atEnd = !atEnd;
            continue;
        }
        Key(*window, key);
        if (log.recNo() >= log.recordCount() - 12) {
            state.PauseTiming();
            Key(*window, Qt::Key_Home);
            state.ResumeTiming();
        }
    }
    state.counters["logs"] = log.recordCount();
}
BENCHMARK_CAPTURE(BM_DataEntryKey, Down, Qt::Key_Down)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DataEntryKey, PageDown, Qt::Key_PageDown)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DataEntryKey, EndHome, Qt::Key_End)->Unit(benchmark::kMillisecond);

} // namespace
