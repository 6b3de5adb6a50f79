#include "FlushCounter.h"
#include "MasterRecords.h"
#include "PlainWrites.h"
#include "master/MasterFields.h"
#include "support/JournaledFile.h"
#include "support/ParadoxCodec.h"
#include "support/ParadoxTable.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#ifdef BRIMLO_HAVE_PXLIB
extern "C" {
#include <paradox.h>
}
#endif

namespace {

using namespace brimlo;
namespace fs = std::filesystem;

struct BenchDir {
    BenchDir() {
        path = fs::temp_directory_path() / ("brimlo-paradox-bench-" + std::to_string(::getpid()));
        fs::create_directories(path);
    }
    ~BenchDir() { fs::remove_all(path); }
    fs::path path;
};

BenchDir& Dir() {
    static BenchDir dir;
    return dir;
}

// A master.db of the given size, made once per size.
std::string TableOf(int records) {
    const std::string path = (Dir().path / ("master" + std::to_string(records) + ".db")).string();
    if (!fs::exists(path))
        bench::WriteFilledMaster(path, records);
    return path;
}

// Argument 2 of the posting benchmarks: 1 with the flush to disk, 0 without.
JournaledFile::Shortcuts FlushArgument(const benchmark::State& state) {
    return {.flush = state.range(1) != 0};
}

void BM_ParadoxOpen(benchmark::State& state) {
    const std::string path = TableOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto table = ParadoxTable::open(path);
        benchmark::DoNotOptimize(table->recordCount());
    }
}
BENCHMARK(BM_ParadoxOpen)->Arg(50000)->Unit(benchmark::kMillisecond);

// What start-up pays: open, and every record decoded for the dataset.
void BM_ParadoxOpenAndReadAll(benchmark::State& state) {
    const std::string path = TableOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto table = ParadoxTable::open(path);
        benchmark::DoNotOptimize(table->readAll().size());
    }
}
BENCHMARK(BM_ParadoxOpenAndReadAll)->Arg(50000)->Unit(benchmark::kMillisecond);

// Replacing a posted record; argument 1: table size, 2: 1 with the flush to
// disk, 0 without it.
void BM_ParadoxPostReplace(benchmark::State& state) {
    const int records = static_cast<int>(state.range(0));
    const std::string path = TableOf(records);
    auto table = ParadoxTable::open(path);
    table->setShortcuts(FlushArgument(state));
    const std::vector<RowId> ids = table->ids();
    std::mt19937 rng(1);
    int n = 0;
    const long flushesBefore = bench::FlushCount();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        table->update(ids[rng() % ids.size()], bench::FilledMasterRecord(records + ++n));
    const double postUs =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
            .count() /
        static_cast<double>(state.iterations());
    state.counters["flushes"] = static_cast<double>(bench::FlushCount() - flushesBefore) /
                                static_cast<double>(state.iterations());
    if (state.range(1) != 0) {
        // The same disk's price of one flushed block, measured right after.
        const double single = bench::WriteAndSyncMicros(Dir().path.string(), 16384, 20);
        state.counters["fdatasync16k_us"] = single;
        state.counters["vs_fdatasync"] = postUs / single;
    }
}
BENCHMARK(BM_ParadoxPostReplace)
    ->Args({1000, 0})
    ->Args({50000, 0})
    ->Args({200000, 0})
    ->Args({50000, 1})
    ->Unit(benchmark::kMicrosecond);

void BM_ParadoxPostAppend(benchmark::State& state) {
    const int records = static_cast<int>(state.range(0));
    const std::string path = (Dir().path / "append.db").string();
    fs::copy_file(TableOf(records), path, fs::copy_options::overwrite_existing);
    auto table = ParadoxTable::open(path);
    table->setShortcuts(FlushArgument(state));
    int n = 0;
    for (auto _ : state)
        table->insert(bench::FilledMasterRecord(records + ++n));
}
BENCHMARK(BM_ParadoxPostAppend)
    ->Args({1000, 0})
    ->Args({50000, 0})
    ->Args({50000, 1})
    ->Unit(benchmark::kMicrosecond);

#ifdef BRIMLO_HAVE_PXLIB
double PxlibInsertSeconds(const std::string& path,
                          const std::vector<std::vector<unsigned char>>& raw) {
    const auto start = std::chrono::steady_clock::now();
    pxdoc_t* doc = PX_new();
    const FieldList& fields = MasterFieldList();
    auto* px =
        static_cast<pxfield_t*>(doc->malloc(doc, fields.size() * sizeof(pxfield_t), "fields"));
    for (size_t i = 0; i < fields.size(); ++i) {
        px[i].px_fname = PX_strdup(doc, fields[i].name.c_str());
        px[i].px_ftype = static_cast<char>(ParadoxTypeCodeOf(fields[i].type));
        px[i].px_flen = ParadoxFieldWidth(fields[i]);
        px[i].px_fdc = 0;
    }
    PX_create_file(doc, px, static_cast<int>(fields.size()), path.c_str(), pxfFileTypNonIndexDB);
    for (size_t i = 0; i < raw.size(); ++i)
        PX_put_recordn(doc, reinterpret_cast<char*>(const_cast<unsigned char*>(raw[i].data())),
                       static_cast<int>(i));
    PX_close(doc);
    PX_delete(doc);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
#endif

// Inserting 50,000 master records into a new table, ours (one durable bulk,
// flushed) against pxlib's writer in the same run.
void BM_ParadoxInsert50kAgainstPxlib(benchmark::State& state) {
    const int count = 50000;
    std::vector<Record> records;
    for (int i = 0; i < count; ++i)
        records.push_back(bench::FilledMasterRecord(i));
    double ours = 0;
    double theirs = 0;
    for (auto _ : state) {
        const std::string path = (Dir().path / "insert-ours.db").string();
        const auto start = std::chrono::steady_clock::now();
        auto table = ParadoxTable::create(path, MasterFieldList());
        table->beginBulk();
        for (const Record& r : records)
            table->insert(r);
        table->endBulk();
        ours = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(ours);
    }
    state.counters["ours_ms"] = ours * 1000;
    // The floor of any writer: the same bytes in one write and one flush.
    state.counters["plain_ms"] = bench::WriteFileAndSyncMillis(
        (Dir().path / "insert-plain.db").string(), (Dir().path / "insert-ours.db").string());
#ifdef BRIMLO_HAVE_PXLIB
    const FieldList& fields = MasterFieldList();
    std::vector<std::vector<unsigned char>> raw;
    for (const Record& r : records) {
        std::vector<unsigned char> bytes;
        for (size_t i = 0; i < fields.size(); ++i) {
            std::vector<unsigned char> field(static_cast<size_t>(ParadoxFieldWidth(fields[i])));
            EncodeParadoxField(fields[i], r[i], field.data());
            bytes.insert(bytes.end(), field.begin(), field.end());
        }
        raw.push_back(std::move(bytes));
    }
    theirs = PxlibInsertSeconds((Dir().path / "insert-pxlib.db").string(), raw);
    state.counters["pxlib_ms"] = theirs * 1000;
    state.counters["speedup"] = theirs / ours;
#endif
}
BENCHMARK(BM_ParadoxInsert50kAgainstPxlib)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// What the lock between processes costs a post: posts (replace and append
// in turn) with the lock and, in the same run, with it switched off;
// counter "slowdown" is the ratio. Arguments: table size, 1 with the flush
// to disk, 0 without it.
void BM_ParadoxPostLockCost(benchmark::State& state) {
    const int records = static_cast<int>(state.range(0));
    const std::string path = (Dir().path / "lock.db").string();
    fs::copy_file(TableOf(records), path, fs::copy_options::overwrite_existing);
    auto table = ParadoxTable::open(path);
    table->setShortcuts(FlushArgument(state));
    const std::vector<RowId> ids = table->ids();
    std::mt19937 rng(1);
    int n = 0;
    auto post = [&](bool locked) {
        table->setShortcuts({.flush = FlushArgument(state).flush, .lock = locked});
        const auto start = std::chrono::steady_clock::now();
        if (n % 2 == 0)
            table->update(ids[rng() % ids.size()], bench::FilledMasterRecord(records + ++n));
        else
            table->insert(bench::FilledMasterRecord(records + ++n));
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    double with = 0;
    double without = 0;
    for (auto _ : state) {
        with += post(true);
        without += post(false);
    }
    state.counters["slowdown"] = without > 0 ? with / without : 0;
    state.counters["locked_us"] = 1e6 * with / static_cast<double>(state.iterations());
    state.counters["unlocked_us"] = 1e6 * without / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ParadoxPostLockCost)
    ->Args({50000, 0})
    ->Args({50000, 1})
    ->Unit(benchmark::kMicrosecond);

} // namespace
