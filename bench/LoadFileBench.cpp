#include "common/SilentPrompt.h"
#include "load/LoadFileReader.h"
#include "load/LoadFileWriter.h"
#include "load/LoadSummary.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <unistd.h>

namespace {

using namespace brimlo;

// A full load: 2400 logs over a handful of combinations.
LoadData FullLoad() {
    static const char* const species[] = {"S", "SP", "P", "F", "A", "PB"};
    LoadData load;
    HeaderRecord& h = load.header;
    h.LESSEE = "ACME TIMBER";
    h.MILL_NAME = "NORTH MILL";
    h.DISP = "CTL";
    h.MILL_NUM = 1234;
    h.BLOCK_NUM = "12";
    h.LOAD_NUM = 123456;
    h.POP = 7;
    h.HTOPD = 10;
    h.NETWEIGHT = 24000;
    h.TM9 = "TM12345678";
    h.HSPECIES = "S";
    h.HCONDCODE = "GR";
    h.HPRODCODE = "01";
    h.MILL_CODE = "AB";
    h.SAWLOGS = "Y";
    h.DATEWEIGHED = Date::fromYmd(2006, 12, 15);
    h.SCALER_NAME = "J SMITH";
    h.SCALER_PERMIT = "P123";
    for (int i = 0; i < kMaxLogs; ++i) {
        LogRecord log;
        log.LOGNUM = i + 1;
        log.SPECIES = species[i % 6];
        log.CONDCODE = "GR";
        log.PRODCODE = "01";
        log.TOPD = static_cast<int16_t>(10 + 2 * (i % 20));
        log.LENGTH = static_cast<int16_t>(20 + 2 * (i % 26));
        log.GROSSVOL = 100 + i % 900;
        log.CULLVOL = i % 7 == 0 ? 25 : 0;
        log.CULL_TYPE = i % 7 == 0 ? "3" : "";
        log.CULL_METH = i % 7 == 0 ? "3" : "";
        log.C1 = i % 7 == 0 ? 10 : 0;
        log.BUTTD = static_cast<int16_t>(log.TOPD + 8);
        log.PROD_OVERRIDE = "N";
        load.logs.push_back(log);
    }
    return load;
}

std::string BenchFileName() {
    return (std::filesystem::temp_directory_path() /
            ("brimlo-loadfile-bench-" + std::to_string(::getpid()) + ".txt"))
        .string();
}

void BM_WriteLoadFile(benchmark::State& state) {
    const LoadData load = FullLoad();
    const std::string name = BenchFileName();
    brimlo::testing::SilentPrompt prompt;
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteLoadFile(load, name, prompt));
    std::filesystem::remove(name);
}
BENCHMARK(BM_WriteLoadFile)->Unit(benchmark::kMillisecond);

void BM_ReadLoadFile(benchmark::State& state) {
    const std::string name = BenchFileName();
    brimlo::testing::SilentPrompt prompt;
    WriteLoadFile(FullLoad(), name, prompt);
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadLoadFile(name, prompt));
    std::filesystem::remove(name);
}
BENCHMARK(BM_ReadLoadFile)->Unit(benchmark::kMillisecond);

void BM_FormatLoadFile(benchmark::State& state) {
    const LoadData load = FullLoad();
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatLoadFile(load));
}
BENCHMARK(BM_FormatLoadFile)->Unit(benchmark::kMillisecond);

void BM_ComputeLoadSummary(benchmark::State& state) {
    const LoadData load = FullLoad();
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeLoadSummary(load.header, load.logs));
}
BENCHMARK(BM_ComputeLoadSummary)->Unit(benchmark::kMicrosecond);

} // namespace
