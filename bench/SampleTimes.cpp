#include "SampleTimes.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace brimlo::bench {

double Percentile(std::vector<double> values, double q) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<size_t>(std::ceil(q * static_cast<double>(values.size())));
    return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

void SampleTimes::report(benchmark::State& state, const std::string& prefix) {
    if (wall_.empty())
        return;
    state.counters[prefix + "p50_us"] = Percentile(wall_, 0.50);
    state.counters[prefix + "p99_us"] = Percentile(wall_, 0.99);
    state.counters[prefix + "p99_cpu_us"] = Percentile(cpu_, 0.99);
    state.counters[prefix + "max_us"] = *std::max_element(wall_.begin(), wall_.end());
}

double SampleTimes::ThreadCpuMicros() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e6 + static_cast<double>(ts.tv_nsec) / 1e3;
}

} // namespace brimlo::bench
