// Our Paradox table against pxlib on the same 50,000-record master: reading
// every record into values, and replacing records in place. Each benchmark
// times ours as the iteration and reports both sides as counters (ours_ms,
// pxlib_ms, and speedup = pxlib / ours) so they come from one run.

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
using Clock = std::chrono::steady_clock;

constexpr int kRecords = 50000;
constexpr int kUpdates = 2000;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class ComparisonDir {
public:
    ComparisonDir()
        : path_(fs::temp_directory_path() /
                ("brimlo-pxlib-comparison-" + std::to_string(::getpid()))) {
        fs::create_directories(path_);
    }
    ~ComparisonDir() { fs::remove_all(path_); }
    ComparisonDir(const ComparisonDir&) = delete;
    ComparisonDir& operator=(const ComparisonDir&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }

    // The master both sides start from, written once by our table.
    std::string master() {
        const std::string path = file("master.db");
        if (!fs::exists(path)) {
            auto table = ParadoxTable::create(path, MasterFieldList());
            table->beginBulk();
            for (int i = 0; i < kRecords; ++i)
                table->insert(bench::FilledMasterRecord(i));
            table->endBulk();
        }
        return path;
    }

    std::string copyOfMaster(const std::string& name) {
        const std::string path = file(name);
        fs::copy_file(master(), path, fs::copy_options::overwrite_existing);
        return path;
    }

private:
    fs::path path_;
};

ComparisonDir& Dir() {
    static ComparisonDir dir;
    return dir;
}

// The positions replaced, the same for both sides.
std::vector<int> UpdatePositions() {
    std::mt19937 rng(2);
    std::vector<int> positions;
    for (int i = 0; i < kUpdates; ++i)
        positions.push_back(static_cast<int>(rng() % kRecords));
    return positions;
}

#ifdef BRIMLO_HAVE_PXLIB
std::vector<unsigned char> Encoded(const Record& r) {
    const FieldList& fields = MasterFieldList();
    std::vector<unsigned char> bytes;
    for (size_t i = 0; i < fields.size(); ++i) {
        std::vector<unsigned char> field(static_cast<size_t>(ParadoxFieldWidth(fields[i])));
        EncodeParadoxField(fields[i], r[i], field.data());
        bytes.insert(bytes.end(), field.begin(), field.end());
    }
    return bytes;
}

void FreeValues(pxdoc_t* doc, pxval_t** values, int count) {
    for (int i = 0; i < count; ++i) {
        if (values[i] == nullptr)
            continue;
        if (values[i]->type == pxfAlpha && values[i]->value.str.val != nullptr)
            doc->free(doc, values[i]->value.str.val);
        doc->free(doc, values[i]);
    }
    doc->free(doc, values);
}

// Opens the file and decodes every record into pxlib's values; the
// values are let go at once, as ours are when the vector goes.
double PxlibReadAllMs(const std::string& path, int& decoded) {
    const auto start = Clock::now();
    pxdoc_t* doc = PX_new();
    if (PX_open_file(doc, path.c_str()) < 0) {
        PX_delete(doc);
        return -1;
    }
    const int count = PX_get_num_fields(doc);
    decoded = 0;
    for (int n = 0; n < PX_get_num_records(doc); ++n) {
        if (pxval_t** values = PX_retrieve_record(doc, n)) {
            FreeValues(doc, values, count);
            ++decoded;
        }
    }
    PX_close(doc);
    PX_delete(doc);
    return MsSince(start);
}

// Replaces records in place with bytes already encoded, the way the insert
// comparison feeds pxlib; the count of records must not change.
double PxlibUpdateMs(const std::string& path, const std::vector<int>& positions,
                     std::vector<std::vector<unsigned char>>& raw, int& recordsAfter) {
    const auto start = Clock::now();
    pxdoc_t* doc = PX_new();
    if (PX_open_file(doc, path.c_str()) < 0) {
        PX_delete(doc);
        return -1;
    }
    for (size_t i = 0; i < positions.size(); ++i)
        PX_put_recordn(doc, reinterpret_cast<char*>(raw[i].data()), positions[i]);
    recordsAfter = PX_get_num_records(doc);
    PX_close(doc);
    PX_delete(doc);
    return MsSince(start);
}
#endif

#ifdef BRIMLO_HAVE_PXLIB
// Both sides of one comparison as counters of the run, or the reason pxlib's
// side is missing.
void ReportAgainstPxlib(benchmark::State& state, double ours, double theirs, bool whole,
                        const char* failure) {
    if (theirs < 0 || !whole) {
        state.SkipWithError(failure);
        return;
    }
    state.counters["pxlib_ms"] = theirs;
    state.counters["speedup"] = theirs / ours;
}
#endif

void BM_ParadoxReadAllAgainstPxlib(benchmark::State& state) {
    const std::string path = Dir().master();
    double ours = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        auto table = ParadoxTable::open(path);
        benchmark::DoNotOptimize(table->readAll().size());
        ours = MsSince(start);
        state.SetIterationTime(ours / 1000);
    }
    state.counters["ours_ms"] = ours;
    // The floor of any reader: the file's bytes read plainly.
    state.counters["plain_ms"] = bench::ReadFileMillis(path);
#ifdef BRIMLO_HAVE_PXLIB
    int decoded = 0;
    const double theirs = PxlibReadAllMs(path, decoded);
    ReportAgainstPxlib(state, ours, theirs, decoded == kRecords,
                       "pxlib did not read the whole master");
#endif
}
BENCHMARK(BM_ParadoxReadAllAgainstPxlib)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Posting replaced records one by one, without the flush to disk pxlib
// never does.
void BM_ParadoxUpdateAgainstPxlib(benchmark::State& state) {
    const std::vector<int> positions = UpdatePositions();
    std::vector<Record> records;
    for (int i = 0; i < kUpdates; ++i)
        records.push_back(bench::FilledMasterRecord(kRecords + i));
    double ours = 0;
    for (auto _ : state) {
        const std::string path = Dir().copyOfMaster("update-ours.db");
        auto table = ParadoxTable::open(path);
        std::vector<RowId> ids;
        for (const StoredRow& row : table->readAll())
            ids.push_back(row.id);
        table->setShortcuts({.flush = false});
        const auto start = Clock::now();
        for (int i = 0; i < kUpdates; ++i)
            table->update(ids[static_cast<size_t>(positions[static_cast<size_t>(i)])],
                          records[static_cast<size_t>(i)]);
        table.reset();
        ours = MsSince(start);
        state.SetIterationTime(ours / 1000);
    }
    state.counters["ours_ms"] = ours;
#ifdef BRIMLO_HAVE_PXLIB
    std::vector<std::vector<unsigned char>> raw;
    for (const Record& r : records)
        raw.push_back(Encoded(r));
    int recordsAfter = 0;
    const double theirs =
        PxlibUpdateMs(Dir().copyOfMaster("update-pxlib.db"), positions, raw, recordsAfter);
    ReportAgainstPxlib(state, ours, theirs, recordsAfter == kRecords,
                       "pxlib did not replace records in place");
#endif
}
BENCHMARK(BM_ParadoxUpdateAgainstPxlib)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
