#include "PlainWrites.h"

#include "SampleTimes.h"

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace brimlo::bench {

namespace {

using Clock = std::chrono::steady_clock;

double MillisSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written <= 0)
            throw std::runtime_error("write failed");
        data += written;
        size -= static_cast<size_t>(written);
    }
}

// Opens, writes and flushes; the file is removed afterwards.
void WriteAndSync(const std::string& path, const std::vector<char>& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        throw std::runtime_error("cannot create " + path);
    WriteAll(fd, bytes.data(), bytes.size());
    ::fdatasync(fd);
    ::close(fd);
}

} // namespace

double WriteAndSyncMicros(const std::string& directory, size_t bytes, int runs) {
    const std::vector<char> block(bytes, 'x');
    const std::string path = directory + "/plain-block";
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        WriteAndSync(path, block);
        times.push_back(MillisSince(start) * 1000.0);
    }
    ::unlink(path.c_str());
    return Percentile(times, 0.5);
}

double WriteFileAndSyncMillis(const std::string& target, const std::string& source) {
    std::ifstream in(source, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    const auto start = Clock::now();
    WriteAndSync(target, bytes);
    const double millis = MillisSince(start);
    ::unlink(target.c_str());
    return millis;
}

double ReadFileMillis(const std::string& path) {
    const auto start = Clock::now();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    std::vector<char> buffer(1 << 20);
    size_t total = 0;
    for (ssize_t got; (got = ::read(fd, buffer.data(), buffer.size())) > 0;)
        total += static_cast<size_t>(got);
    ::close(fd);
    benchmark::DoNotOptimize(total);
    return MillisSince(start);
}

} // namespace brimlo::bench
