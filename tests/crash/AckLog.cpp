#include "AckLog.h"

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace brimlo::crash {

namespace {

int OpenOrAbort(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | flags, 0644);
    if (fd < 0)
        std::abort();
    return fd;
}

void WriteAllSynced(int fd, const std::string& bytes) {
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            std::abort();
        done += static_cast<size_t>(n);
    }
    ::fsync(fd);
}

} // namespace

AckLog::AckLog(const std::string& path) : fd_(OpenOrAbort(path, O_APPEND)) {}

AckLog::~AckLog() {
    ::close(fd_);
}

void AckLog::say(const std::string& line) {
    std::string text = line + "\n";
    std::replace(text.begin(), text.end() - 1, '\n', '|');
    WriteAllSynced(fd_, text);
}

std::vector<std::string> AckLog::Read(const std::string& path) {
    const std::string bytes = ReadWhole(path).value_or("");
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

void WriteSynced(const std::string& path, const std::string& bytes) {
    const int fd = OpenOrAbort(path, O_TRUNC);
    WriteAllSynced(fd, bytes);
    ::close(fd);
}

std::optional<std::string> ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

} // namespace brimlo::crash
