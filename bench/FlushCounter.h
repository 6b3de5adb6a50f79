#pragma once

namespace brimlo::bench {

// Calls of fsync and fdatasync made by this process so far, by our code and
// by SQLite alike: the benchmark executable defines both functions, so every
// library's calls come through its count before reaching the C library.
long FlushCount();

} // namespace brimlo::bench
