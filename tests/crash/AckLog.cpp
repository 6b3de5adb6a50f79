#include "AckLog.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace brimlo::crash {

namespace {

void WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            std::abort();
        done += static_cast<size_t>(n);
    }
}

} // namespace

AckLog::AckLog(const std::string& path) {
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd_ < 0)
        std::abort();
}

AckLog::~AckLog() {
    ::close(fd_);
}

void AckLog::say(const std::string& line) {
    std::string text;
    for (char c : line)
        text += c == '\n' ? '|' : c;
    WriteAll(fd_, text + "\n");
    ::fsync(fd_);
}

std::vector<std::string> AckLog::Read(const std::string& path) {
    std::string bytes;
    std::vector<std::string> lines;
    if (!ReadWhole(path, bytes))
        return lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

void WriteSynced(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        std::abort();
    WriteAll(fd, bytes);
    ::fsync(fd);
    ::close(fd);
}

bool ReadWhole(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream all;
    all << in.rdbuf();
    bytes = all.str();
    return true;
}

} // namespace brimlo::crash
