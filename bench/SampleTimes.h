#pragma once

#include <benchmark/benchmark.h>
#include <chrono>
#include <string>
#include <vector>

namespace brimlo::bench {

// Wall time of each run of some work, and the processor time this thread
// spent on it (on a busy machine the wall time also holds the waits for a
// processor), reported as percentiles of the runs rather than their mean.
class SampleTimes {
public:
    template <class Work> void measure(Work&& work) {
        const double cpu = ThreadCpuMicros();
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        cpu_.push_back(ThreadCpuMicros() - cpu);
        wall_.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    // p50_us, p99_us, p99_cpu_us and max_us, each name after prefix.
    void report(benchmark::State& state, const std::string& prefix = {});

private:
    static double ThreadCpuMicros();

    std::vector<double> wall_;
    std::vector<double> cpu_;
};

// The q-quantile (0 < q < 1) by the nearest-rank rule: the smallest value
// with at least q of all values at or below it.
double Percentile(std::vector<double> values, double q);

} // namespace brimlo::bench
