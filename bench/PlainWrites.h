#pragma once

#include <string>

namespace brimlo::bench {

// The median time, in microseconds, of writing `bytes` bytes to a new file
// in `directory` and flushing them with fdatasync, over `runs` files.
double WriteAndSyncMicros(const std::string& directory, size_t bytes, int runs);

// Milliseconds to write the bytes of `source` (read beforehand) to `target`
// in one write and flush them with fdatasync.
double WriteFileAndSyncMillis(const std::string& target, const std::string& source);

// Milliseconds to read the whole of `path` into memory with plain reads.
double ReadFileMillis(const std::string& path);

} // namespace brimlo::bench
