#include "common/SilentPrompt.h"
#include "master/CMaster.h"
#include "master/MasterFields.h"
#include "master/MasterTable.h"
#include "master/SampleTables.h"
#include "support/Dataset.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using namespace brimlo;

// Master records held in memory, so the export alone is measured.
class MemoryMasterStore : public TableStore {
public:
    const FieldList& fields() const override { return MasterFieldList(); }
    std::vector<StoredRow> readAll() override { return rows_; }
    RowId insert(const Record& values) override {
        rows_.push_back({static_cast<RowId>(rows_.size() + 1), values});
        return rows_.back().id;
    }
    void update(RowId, const Record&) override {}
    void remove(RowId) override {}
    void beginBulk() override {}
    void endBulk() override {}
    void pack() override {}

private:
    std::vector<StoredRow> rows_;
};

CMaster SampleRecord(int i, int groupSpread) {
    CMaster m;
    m.MILLCODE = "AB";
    m.POP = static_cast<int16_t>(i % 9 + 1);
    m.MILL_NUM = 123456;
    m.SAWLOGS = 'N';
    m.LESSEE = "LESSEE CO";
    m.MILL_NAME = "NORTH MILL";
    m.DISP = "CTL" + std::to_string(i % 1000);
    m.SUBDISP = "A1";
    m.BLOCK_NUM = "12";
    m.LOAD_NUM = i;
    m.TOP_D = 16;
    m.WEIGH_DATE = Date::fromYmd(2006, 1 + i % 12, 1 + i % 28);
    m.NET_WEIGHT = 20000 + i % 5000;
    m.SOURCE = "CREEK";
    m.TREES = 5 + i % 20;
    m.summary.NUM_GROUPS = static_cast<int16_t>(1 + i % groupSpread);
    for (int n = 0; n < m.summary.NUM_GROUPS; ++n) {
        m.summary.groups[n] = {"S  GR 01", 2 + n, 9.6, 0.448, 0.02, 0.428, 4.46};
        m.summary.TOTALLOGS += 2 + n;
    }
    return m;
}

// A master of 50,000 records exported to the ASCII file and both sample
// tables, durable on disk. state.range(0): records have 1 to that many groups,
// in turn (4: 2.5 groups a load on average; 12: 6.5, a heavy master).
void BM_ExportFiftyThousandMasterRecords(benchmark::State& state) {
    auto store = std::make_unique<MemoryMasterStore>();
    for (int i = 0; i < 50000; ++i)
        store->insert(SampleRecord(i, static_cast<int>(state.range(0))).ToMasterRecord());
    Dataset dataset(std::move(store));
    MasterTable table(dataset);
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("brimlo-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string directory = dir.string() + "/";
    CMaster master;
    testing::SilentPrompt prompt;
    for (auto _ : state) {
        master.WriteMasterAscii(directory + "master.out", table, "Y", prompt);
        WriteSampleTables(directory, table, Date::fromYmd(2026, 12, 9));
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ExportFiftyThousandMasterRecords)
    ->Arg(4)
    ->Arg(12)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

} // namespace
