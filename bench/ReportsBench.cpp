// How long the reports take from the command to a preview showing its first
// page, and how much memory the master summary needs.
#include "BenchApplication.h"
#include "common/SilentPrompt.h"
#include "master/CMaster.h"
#include "master/MasterFields.h"
#include "reports/LoadLogReport.h"
#include "reports/MasterSummaryReport.h"
#include "reports/ReportPageView.h"
#include "reports/ReportPreview.h"
#include "support/Dataset.h"
#include "support/TableStore.h"

#include <QApplication>
#include <QPrinter>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <random>

namespace {

using namespace brimlo;

// The master table in memory, in insertion order.
class BenchMasterStore : public TableStore {
public:
    const FieldList& fields() const override { return MasterFieldList(); }
    std::vector<StoredRow> readAll() override {
        std::vector<StoredRow> rows;
        for (const auto& [id, values] : rows_)
            rows.push_back({id, values});
        return rows;
    }
    RowId insert(const Record& values) override {
        rows_.emplace(++lastId_, values);
        return lastId_;
    }
    void update(RowId id, const Record& values) override { rows_[id] = values; }
    void remove(RowId id) override { rows_.erase(id); }
    void beginBulk() override {}
    void endBulk() override {}
    void pack() override {}

private:
    std::map<RowId, Record> rows_;
    RowId lastId_ = 0;
};

const char* const kSpecies[] = {"S", "F", "P", "L", "A", "B", "C", "D"};
const char* const kConditions[] = {"GR", "DE", "RT"};

LoadData FullLoad() {
    std::mt19937 rng(2400);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    LoadData load;
    load.header.LESSEE = "Lessee";
    load.header.HSPECIES = "S";
    load.header.HCONDCODE = "GR";
    load.header.HPRODCODE = "01";
    load.header.SAWLOGS = "Y";
    load.header.TREES = 300;
    load.header.NETWEIGHT = 35000;
    for (int i = 1; i <= 2400; ++i) {
        LogRecord log;
        log.LOGNUM = i;
        log.SPECIES = kSpecies[uniform(0, 7)];
        log.CONDCODE = kConditions[uniform(0, 2)];
        log.PRODCODE = uniform(0, 1) ? std::string("01") : std::string("06");
        log.TOPD = static_cast<int16_t>(uniform(8, 60));
        log.BUTTD = static_cast<int16_t>(log.TOPD + uniform(0, 20));
        log.LENGTH = static_cast<int16_t>(uniform(20, 160));
        log.GROSSVOL = uniform(20, 900);
        log.CULLVOL = uniform(0, 3) == 0 ? uniform(1, 50) : 0;
        if (log.CULLVOL > 0)
            log.CULL_TYPE.push_back('2');
        load.logs.push_back(log);
    }
    return load;
}

std::unique_ptr<Dataset> LargeMaster(int records) {
    std::mt19937 rng(10000);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto master = std::make_unique<Dataset>(std::make_unique<BenchMasterStore>());
    master->beginBulk();
    for (int r = 0; r < records; ++r) {
        CMaster m;
        m.MILLCODE = "AB";
        m.POP = 1;
        m.MILL_NUM = uniform(1, 99999);
        m.SAWLOGS = 'Y';
        m.LESSEE = "Lessee";
        m.LOAD_NUM = r + 1;
        m.NET_WEIGHT = uniform(1000, 40000);
        m.TREES = uniform(0, 300);
        m.summary.NUM_GROUPS = static_cast<int16_t>(uniform(1, 12));
        for (int g = 0; g < m.summary.NUM_GROUPS; ++g) {
            SummaryGroup& group = m.summary.groups[static_cast<std::size_t>(g)];
            group.SPCDPR = kSpecies[g % 8];
            group.SPCDPR.append("  GR 0").push_back(static_cast<char>('0' + g % 10));
            group.LOGNUMS = uniform(1, 200);
            group.LENGTH = uniform(10, 2000) * 0.1;
            group.GROSSVOL = uniform(100, 90000) * 0.001;
            group.CULLVOL = group.GROSSVOL * 0.1;
            group.NETVOL = group.GROSSVOL - group.CULLVOL;
            m.summary.TOTALLOGS += group.LOGNUMS;
        }
        const Record values = m.ToMasterRecord();
        master->insert();
        for (int f = 0; f < static_cast<int>(values.size()); ++f)
            master->setField(f, values[static_cast<std::size_t>(f)]);
        master->post();
    }
    master->endBulk();
    return master;
}

// The preview shown with the pages in view drawn.
void DrawPreview(const BandedReport& report) {
    QPrinter printer(QPrinter::HighResolution);
    testing::SilentPrompt prompt;
    auto dialog = MakeReportPreview(nullptr, report, printer, prompt);
    dialog->show();
    dialog->pages().viewport()->repaint();
    benchmark::DoNotOptimize(dialog->pages().paintedPages());
}

// The 2400-log listing (about 50 pages), from the load to a drawn preview.
void BM_LogListingReadyForPreview(benchmark::State& state) {
    bench::BenchApplication();
    const LoadData load = FullLoad();
    CMaster master;
    int pages = 0;
    for (auto _ : state) {
        TfrmLoadLogReport form;
        form.Prepare(load, master);
        DrawPreview(form.report());
        pages = form.report().pageCount();
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_LogListingReadyForPreview)->Unit(benchmark::kMillisecond)->Iterations(3);

// The summary of a 10,000-record master, from the table to a drawn preview.
void BM_MasterSummaryReadyForPreview(benchmark::State& state) {
    bench::BenchApplication();
    auto master = LargeMaster(10000);
    int pages = 0;
    for (auto _ : state) {
        TfrmMasterSummary form;
        form.Prepare(*master);
        DrawPreview(form.report());
        pages = form.report().pageCount();
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_MasterSummaryReadyForPreview)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

namespace {

// The master summary's reading and page breaking alone, without drawing.
void BM_MasterSummaryLayout(benchmark::State& state) {
    bench::BenchApplication();
    auto master = LargeMaster(10000);
    for (auto _ : state) {
        TfrmMasterSummary form;
        form.Prepare(*master);
        benchmark::DoNotOptimize(form.report().pageCount());
    }
}
BENCHMARK(BM_MasterSummaryLayout)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
