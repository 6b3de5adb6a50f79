#include "load/CheckScaleComparison.h"
#include "load/LoadFileReader.h"
#include "load/LoadFileWriter.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

using namespace brimlo;

// A full load: 2400 logs over six species, every seventh with a cull.
LoadData ScaledLoad(int lengthChangeEvery) {
    static const char* const species[] = {"S", "SP", "P", "F", "A", "PB"};
    LoadData load;
    load.header.HSPECIES = "S";
    load.header.HCONDCODE = "GR";
    load.header.HPRODCODE = "01";
    load.header.LOAD_NUM = 4711;
    load.header.DATEWEIGHED = Date::fromYmd(2026, 3, 4);
    for (int i = 0; i < kMaxLogs; ++i) {
        LogRecord log;
        log.LOGNUM = i + 1;
        log.SPECIES = species[i % 6];
        log.CONDCODE = "GR";
        log.PRODCODE = i % 3 == 0 ? "02" : "01";
        log.TOPD = static_cast<int16_t>(10 + 2 * (i % 20));
        log.BUTTD = static_cast<int16_t>(log.TOPD + 8);
        log.LENGTH = static_cast<int16_t>(20 + 2 * (i % 26));
        if (lengthChangeEvery > 0 && i % lengthChangeEvery == 0)
            log.LENGTH = static_cast<int16_t>(log.LENGTH + 1);
        if (i % 7 == 0) {
            log.CULL_TYPE = "3";
            log.CULL_METH = "3";
            log.C1 = 10;
        }
        log.PROD_OVERRIDE = "N";
        load.logs.push_back(log);
    }
    return load;
}

std::string WriteLoad(const LoadData& load, const char* name) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("brimlo-checkscale-" + std::to_string(::getpid()) + "-" + name);
    std::ofstream(file, std::ios::binary) << FormatLoadFile(load);
    return file.string();
}

// Both files read as the program opens them, every log matched and
// recomputed, groups and verdicts: what "Compare" and check-scale do.
void BM_CompareCheckScaleOf2400Logs(benchmark::State& state) {
    const std::string original = WriteLoad(ScaledLoad(0), "original.txt");
    const std::string check = WriteLoad(ScaledLoad(9), "check.txt");
    for (auto _ : state) {
        const CheckScaleComparison c = CompareCheckScaleFiles(original, check, {});
        benchmark::DoNotOptimize(c.load.net.checkLitres);
    }
    std::filesystem::remove(original);
    std::filesystem::remove(check);
}
BENCHMARK(BM_CompareCheckScaleOf2400Logs)->Unit(benchmark::kMillisecond);

} // namespace
