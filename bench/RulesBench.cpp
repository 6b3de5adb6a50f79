#include "rules/Cglobals.h"
#include "rules/CodeLists.h"
#include "rules/CullVolume.h"
#include "rules/GrossVolume.h"
#include "rules/ProductRules.h"

#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace {

using namespace brimlo;

std::vector<LogMeasures> RandomLogs(std::size_t count) {
    std::mt19937 rng(12345);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const auto& species = CodeLists::Standard().speciesList();
    const std::string sawlogs = "01";
    const std::string smallStem = "06";
    std::vector<LogMeasures> logs(count);
    for (auto& log : logs) {
        log.species = species[uniform(1, static_cast<int>(species.size()) - 1)];
        log.topd = 2 * uniform(1, 38);
        log.buttd = 2 * uniform(log.topd / 2, 75);
        log.length = 2 * uniform(3, 36);
        log.cullMethod = static_cast<char>('0' + uniform(0, 8));
        log.c1 = uniform(0, 60);
        log.c2 = uniform(0, 60);
        log.c3 = uniform(0, log.length);
        log.prodcode = uniform(0, 1) ? sawlogs : smallStem;
    }
    return logs;
}

// Gross volume, cull volume and product code of a million logs, as a
// whole-load recomputation does them.
void BM_ScaleMillionLogs(benchmark::State& state, char method) {
    auto logs = RandomLogs(1000000);
    const ProductSettings header{10, "01", "Y", method == 'S' ? "S" : "A"};
    for (auto _ : state) {
        long long total = 0;
        for (auto& log : logs) {
            log.grossvol = CalcGrossVolume(method, log.species, log.topd, log.buttd, log.length);
            total += CalcCullVolume(log, method);
            log.prodcode = ApplySawlogProductRule(log, header);
            log.prodcode = ApplyUndersizeRule(log, header);
        }
        benchmark::DoNotOptimize(total);
    }
}

BENCHMARK_CAPTURE(BM_ScaleMillionLogs, Smalian, 'S')->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScaleMillionLogs, Alberta, 'A')->Unit(benchmark::kMillisecond);

} // namespace
